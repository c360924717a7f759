#include "framework/Text.h"

#include <cctype>
#include <climits>

namespace framework {

std::string GetWindowTextString(HWND hwnd)
{
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string LoadResourceString(UINT id)
{
    char text[1024] = "";
    int length = ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof text);
    return std::string(text, static_cast<size_t>(length > 0 ? length : 0));
}

int LeadingInteger(const char* text)
{
    while (std::isspace(static_cast<unsigned char>(*text)))
        ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    long long value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
        value = value * 10 + (*text - '0');
        if (value > INT_MAX)
            return negative ? INT_MIN : INT_MAX;
    }
    return static_cast<int>(negative ? -value : value);
}

std::string SystemMessage(DWORD error)
{
    char text[512] = "";
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                    sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r'))
        text[--length] = '\0';
    return length > 0 ? text : "Error " + std::to_string(error) + ".";
}

}  // namespace framework
