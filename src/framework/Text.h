// Texts from windows and from the string table.
#pragma once

#include <windows.h>

#include <string>

namespace framework {

// The whole text of a window, however long.
std::string GetWindowTextString(HWND hwnd);
// A string-table entry of the program, or an empty text.
std::string LoadResourceString(UINT id);

}  // namespace framework
