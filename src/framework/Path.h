// Paths of any length, and the folders a clean-up must never empty.
#pragma once

#include <windows.h>

#include <string>

namespace framework {

// A path of the program's text (the ANSI code page: UTF-8 under the manifest)
// for the wide-character calls; from 260 characters on in the \\?\ form,
// where the plain form fails.
std::wstring WidePath(const std::string& path);
// The program's text as wide characters, and as UTF-8 whatever the code page.
std::wstring WideText(const std::string& text);
std::string Utf8Text(const std::string& text);
// A wide text as the program's text. A character the code page lacks becomes
// "?", never a look-alike letter that may name another file.
std::string NarrowText(const wchar_t* text);
// The attributes of a file or folder, whatever the length of its path;
// INVALID_FILE_ATTRIBUTES when there is none.
DWORD GetPathAttributes(const std::string& path);

// The absolute form of a folder, without a trailing backslash ("C:" for a
// drive's root, as listings show folders); the folder itself, so trimmed, when
// it cannot be made absolute.
std::string AbsoluteFolder(const std::string& folder);
// "C:\..." or "\\server\share\...": not relative to a current folder.
bool IsFullPath(const std::string& path);
// A drive root, the Windows, system or a Program Files folder, a user's
// profile folder, the root of the user profiles, or a folder holding one of
// them, with links and short names resolved. Also true for a folder that
// cannot be opened: what cannot be told safe is not.
bool IsProtectedFolder(const std::string& folder);
// The folder as the file system names it: full, long names, links resolved;
// empty when it cannot be opened.
std::string ResolvedFolder(const std::string& folder);
// One of the user's own folders (the profile, Documents, Desktop, Downloads,
// Pictures, Music, Videos, the application data roots) or a folder holding
// one, with links and short names resolved. Also true for a folder that
// cannot be opened.
bool HoldsUserFolder(const std::string& folder);
// A path starting with two slashes (UNC, or a device form that may be one) or
// one on a remote drive: merely looking at it may wait for a network time-out.
// Decided from the text and the drive type alone.
bool IsNetworkPath(const std::string& path);
// The full path of a program of the system folder, such as "notepad.exe", so
// that no program of that name elsewhere (beside ours) starts instead; empty
// when the system folder is unknown.
std::string SystemProgram(const char* name);

// A folder the shell knows by its CSIDL_ number, such as CSIDL_LOCAL_APPDATA;
// empty when this system has none.
std::string KnownFolder(int csidl);

}  // namespace framework
