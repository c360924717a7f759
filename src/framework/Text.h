// Texts from windows and from the string table, and small text conversions.
#pragma once

#include <windows.h>

#include <string>

namespace framework {

// The whole text of a window, however long.
std::string GetWindowTextString(HWND hwnd);
// A string-table entry of the program, or an empty text.
std::string LoadResourceString(UINT id);
// The system's text for an error code, without its line break.
std::string SystemMessage(DWORD error);
// The leading decimal integer of a text as the C library reads one (blanks,
// a sign, digits; 0 when there is none), saturating instead of overflowing.
int LeadingInteger(const char* text);
// An ASCII letter in lower case; every other byte (UTF-8 ones too) as it is.
constexpr char LowerAscii(char c) noexcept
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

}  // namespace framework
