// The platform calls that show modal windows or start other programs. They
// are replaceable so that tests never block on a modal window; the defaults
// are the real API.
#pragma once

#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <functional>
#include <string>

namespace framework {

struct Seams {
    std::function<int(HWND owner, const char* text, const char* caption, UINT type)> messageBox;
    // Returns the shell's result code (greater than 32 on success).
    std::function<INT_PTR(HWND owner, const char* verb, const char* file, const char* parameters, const char* directory,
                          int show)>
        shellExecute;
    std::function<int(SHFILEOPSTRUCTA& operation)> fileOperation;
    // The chosen folder, or an empty text when the user cancelled.
    std::function<std::string(HWND owner, const char* title)> browseForFolder;
    // The file the user chose to save a CSV list to, offered defaultName
    // first; an empty text when the user cancelled.
    std::function<std::string(HWND owner, const char* defaultName)> saveFileName;
    // The CSV file the user chose to open; an empty text when the user cancelled.
    std::function<std::string(HWND owner)> openFileName;
    std::function<bool(PRINTDLGA& dialog)> printDialog;
    std::function<bool(HWND owner, const char* helpFile, UINT command, ULONG_PTR data)> winHelp;
    // The shell's facts about a file (SHGetFileInfoA); slow for real paths under some shells.
    std::function<DWORD_PTR(const char* path, DWORD attributes, SHFILEINFOA& info, UINT flags)> fileInfo;
    // The shell's search for a shortcut's moved target; true when it found one.
    std::function<bool(IShellLinkA& link, HWND owner, DWORD flags)> resolveShellLink;
};

// The process's seams; tests swap members and put them back.
Seams& GetSeams();

// The help file next to the executable: its path with the extension ".HLP".
std::string HelpFilePath();

}  // namespace framework
