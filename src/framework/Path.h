// Paths of any length, names of any alphabet.
#pragma once

#include <windows.h>

#include <string>

namespace framework {

// A path of the program's text (the ANSI code page: UTF-8 under the manifest)
// for the wide-character calls; from 260 characters on in the \\?\ form,
// where the plain form fails.
std::wstring WidePath(const std::string& path);
// A wide text as the program's text. A character the code page lacks becomes
// "?", never a look-alike letter that may name another file.
std::string NarrowText(const wchar_t* text);
// The attributes of a file or folder, whatever the length of its path;
// INVALID_FILE_ATTRIBUTES when there is none.
DWORD GetPathAttributes(const std::string& path);

}  // namespace framework
