// What every result list offers: sorting by a column, opening the selected
// file, deleting or recycling the selected files.
#pragma once

#include "lists/FileList.h"

#include <windows.h>

#include <string>
#include <vector>

// Sorts the rows by one column, under the wait cursor. Text: A to Z when
// ascending, letters taken without case. Size: the largest first when ascending.
void ListCtrlSortItems(CFileList& list, int column, SortKind kind, bool ascending);

// Opens the first selected row's file with its program; offers Notepad when
// none is associated. A row that names no single existing file or folder is
// refused with a message.
void ListCtrlOpenSelectedFile(HWND page, const CFileList& list);

// Recycles (or, when permanent, deletes) the files of the selected rows
// through the shell, which asks the user, then removes the rows whose files
// are gone, and the rows of what lay in a folder that went. Returns the paths
// of those files. Rows that name no single existing file (folders count only
// for folder rows or where folders is true) are left alone, and so are drive
// roots, system and profile folders; one message names them.
std::vector<std::string> ListCtrlDeleteSelectedFiles(CFileList& list, bool permanent, bool folders = false);
