// The small Win32 conversions and helpers every part of the program needs,
// written once.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace framework {

// A 64-bit value the API hands out as two 32-bit halves.
constexpr std::uint64_t MakeUInt64(DWORD high, DWORD low) noexcept
{
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

// A byte count that was not kept (by an earlier version of a file, say).
constexpr std::uint64_t kUnknownBytes = UINT64_MAX;

// Sizes summed stop at the largest: a total past 2^64 bytes never wraps
// round to a small one.
constexpr std::uint64_t AddSizes(std::uint64_t a, std::uint64_t b) noexcept
{
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

// A FILETIME counts 100 ns ticks since 1601; Unix time counts from 1970.
constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kTicksPerDay = 86'400 * kTicksPerSecond;
constexpr std::int64_t kTicksFrom1601To1970 = 116'444'736'000'000'000;

constexpr std::uint64_t FileTimeTicks(const FILETIME& time) noexcept
{
    return MakeUInt64(time.dwHighDateTime, time.dwLowDateTime);
}
constexpr FILETIME FileTimeFromTicks(std::uint64_t ticks) noexcept
{
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

constexpr SIZE RectSize(const RECT& rect) noexcept
{
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

// Whether the process runs with an administrator's rights (elevated).
bool IsElevated() noexcept;

// Selects (or deselects) one row of a list view; row -1 means every row.
void SelectListRow(HWND list, int row, bool selected = true) noexcept;
// Gives a list view's column a new heading.
void SetListColumnText(HWND list, int column, const char* text);

// A child window's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child) noexcept;
// The desktop without the taskbar.
RECT WorkArea() noexcept;
// Moves a window to the middle of area, keeping its size or giving it a new one.
void CenterWindow(HWND window, const RECT& area) noexcept;
void CenterWindow(HWND window, const RECT& area, SIZE size) noexcept;

struct RegistryString {
    std::string text;
    DWORD type = REG_SZ;
};
// A REG_SZ or REG_EXPAND_SZ value read whole, whatever its length, as stored
// (not expanded); none when it is missing or holds something else.
std::optional<RegistryString> ReadRegistryString(HKEY key, const char* value);

}  // namespace framework
