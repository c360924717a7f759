// Paths of any length, and the folders a clean-up must never empty.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace framework {

// A path of the program's text (the ANSI code page: UTF-8 under the manifest)
// for the wide-character calls; in the \\?\ form from 260 characters on,
// where the plain form fails, and where a name ends in a dot or a space,
// which the plain form drops.
std::wstring WidePath(const std::string& path);
// Whether a name in the full path ends in a dot or a space: the shell, which
// takes only the plain form, would act on another file ("victim" for "victim.").
bool HasNameTheShellWouldChange(const std::string& path);
// The length of the program's text in UTF-16 units, as path limits count.
size_t WideLength(const std::string& text);
// The program's text as wide characters, and as UTF-8 whatever the code page.
std::wstring WideText(const std::string& text);
std::string Utf8Text(const std::string& text);
// A wide text as the program's text. A character the code page lacks becomes
// "?", never a look-alike letter that may name another file.
std::string NarrowText(const wchar_t* text);
// The same, added at the end of out.
void AppendNarrowText(std::wstring_view text, std::string& out);
// The attributes of a file or folder, whatever the length of its path;
// INVALID_FILE_ATTRIBUTES when there is none. The name is matched without
// case, as the system matches it.
DWORD GetPathAttributes(const std::string& path);
// Whether the folder lists the path's last name exactly, case included: once
// "a.txt" is gone, "A.txt" beside it in a case-sensitive folder is another file.
bool ExistsExactly(const std::string& path);
// Whether opening the path reaches a file or folder by another path: a link
// that the system follows even when asked not to (Wine's symbolic links), so
// that deleting it would delete what it points to. True when it cannot be told.
bool ReachesElsewhere(const std::string& path);

// The absolute form of a folder, without a trailing backslash ("C:" for a
// drive's root, as listings show folders); the folder itself, so trimmed, when
// it cannot be made absolute.
std::string AbsoluteFolder(const std::string& folder);
// "C:\..." or "\\server\share\...": not relative to a current folder.
bool IsFullPath(const std::string& path);
// A drive root, the Windows, system or a Program Files folder, the shared
// application data, a user's profile folder or its application data roots,
// the root of the user profiles, or a folder holding one of them, with links,
// short names, mapped drives and administrative shares (\\host\C$) resolved.
// Also true for a folder that cannot be opened: what cannot be told safe is not.
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
