// Texts from windows and from the string table.
#pragma once

#include <windows.h>

#include <string>

namespace framework {

// The whole text of a window, however long.
std::string GetWindowTextString(HWND hwnd);
// A string-table entry of the program, or an empty text.
std::string LoadResourceString(UINT id);
// The leading decimal integer of a text as the C library reads one (blanks,
// a sign, digits; 0 when there is none), saturating instead of overflowing.
int LeadingInteger(const char* text);

}  // namespace framework
