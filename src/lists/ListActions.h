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

// Opens the file (or folder) with its program; offers Notepad when none is
// associated. A path that names no single existing file or folder is
// refused with a message.
void OpenPath(HWND page, const std::string& path);
// The same for the first selected row's file.
void ListCtrlOpenSelectedFile(HWND page, const CFileList& list);

// A path the user chose to remove; folder: it may name a folder, which goes whole.
struct RemovalRequest {
    std::string path;
    bool folder = false;
};

struct RemovedPaths {
    std::vector<std::string> paths;    // of those asked for, in their order
    std::vector<std::string> folders;  // those of them that were folders
};

// Recycles (or, when permanent, deletes) the paths through the shell, which
// asks the user, and returns those gone. Paths that name no single existing
// file (or folder, where allowed) are left alone, and so are drive roots,
// system and profile folders; one message names them, and another those
// the shell left in place.
RemovedPaths RemovePaths(HWND owner, const std::vector<RemovalRequest>& requests, bool permanent);
// Whether the path lies inside one of the folders.
bool IsInAnyFolder(const std::string& path, const std::vector<std::string>& folders);

// Recycles (or, when permanent, deletes) the files of the selected rows
// through the shell, which asks the user, then removes the rows whose files
// are gone, and the rows of what lay in a folder that went. Returns the paths
// of those files. Rows that name no single existing file (folders count only
// for folder rows or where folders is true) are left alone, and so are drive
// roots, system and profile folders; one message names them.
std::vector<std::string> ListCtrlDeleteSelectedFiles(CFileList& list, bool permanent, bool folders = false);
