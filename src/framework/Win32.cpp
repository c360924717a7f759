#include "framework/Win32.h"

#include "framework/Handle.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

namespace framework {

namespace {

void PlaceCentered(HWND window, const RECT& area, SIZE size, UINT flags) noexcept
{
    SIZE room = RectSize(area);
    ::SetWindowPos(window, nullptr, area.left + (room.cx - size.cx) / 2, area.top + (room.cy - size.cy) / 2, size.cx,
                   size.cy, flags | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool IsString(DWORD type) noexcept
{
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

}  // namespace

void SelectListRow(HWND list, int row, bool selected) noexcept
{
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void SetListColumnText(HWND list, int column, const char* text)
{
    std::string heading = text;
    LVCOLUMNA item{};
    item.mask = LVCF_TEXT;
    item.pszText = heading.data();
    ::SendMessageA(list, LVM_SETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
}

RECT ChildRect(HWND child) noexcept
{
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT WorkArea() noexcept
{
    RECT area{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

void CenterWindow(HWND window, const RECT& area) noexcept
{
    RECT own{};
    ::GetWindowRect(window, &own);
    PlaceCentered(window, area, RectSize(own), SWP_NOSIZE);
}

void CenterWindow(HWND window, const RECT& area, SIZE size) noexcept
{
    PlaceCentered(window, area, size, 0);
}

std::optional<RegistryString> ReadRegistryString(HKEY key, const char* value)
{
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key, value, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || !IsString(type))
        return std::nullopt;
    // The stored value may lack its terminator.
    std::vector<char> buffer(size + 1, '\0');
    if (::RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
            ERROR_SUCCESS ||
        !IsString(type))
        return std::nullopt;
    return RegistryString{std::string(buffer.data(), strnlen(buffer.data(), size)), type};
}

bool IsElevated() noexcept
{
    KernelHandle token;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put()) &&
           ::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

}  // namespace framework
