// What every result list offers: file icons, sorting by a column, opening
// the selected file, deleting or recycling the selected files.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

// The shell's small system image list, attached on first use. It belongs to
// the shell: lists share it (LVS_SHAREIMAGELISTS) and nobody destroys it.
HIMAGELIST GetSysImageList();
// Forgets the shell's list without destroying it.
void ReleaseSysImageList();
// The small-icon index of a file in the system image list.
int GetFileIconIndex(const std::string& path);

// The next selected row after the given one (-1: from the top), or -1.
int ListCtrlNextSelected(HWND list, int after);
// The text of one cell, however long.
std::string ListCtrlGetItemText(HWND list, int row, int column);

enum class SortKind { Text, Size };

// Sorts the rows by one column. Text: A to Z when ascending, letters taken
// without case. Size: the largest first when ascending. Rows are found by
// their item data, which must differ from row to row.
void ListCtrlSortItems(HWND list, int column, SortKind kind, bool ascending);

// Opens the first selected row's file (folder in column 1, name in column 0)
// with its program; offers Notepad when none is associated.
void ListCtrlOpenSelectedFile(HWND page, HWND list);

// Recycles (or, when permanent, deletes) the files of the selected rows
// through the shell, which asks the user, then removes the rows whose files
// are gone. With a prefix, a row's path is prefix + column 0; without one,
// column 1 + "\" + column 0.
void ListCtrlDeleteSelectedFiles(HWND list, bool permanent, const std::string& folderPrefix);
