// How file sizes and dates are written into result lists, and read back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

// A folder as the lists show it: without a trailing backslash, except a
// drive's root, which keeps it (E:\).
std::string FolderText(std::string_view folder);
// The folder and a name in it, one backslash between them.
std::string JoinPath(std::string_view folder, std::string_view name);

// "%d bytes", "%.1f K", "%d K" or "%.2f M".
std::string FormatFileSize(std::uint64_t bytes);
// A total as a sentence gives it: "%.1f G" from a gigabyte, else as FormatFileSize.
std::string FormatSpace(std::uint64_t bytes);
// A count with its thousands grouped: "312,004".
std::string FormatCount(std::uint64_t count);
// The count and its noun, made plural past one: "1 folder", "312,004 files".
std::string CountOf(std::uint64_t count, const char* singular);
// The byte count a size text stands for (0 for a text without a unit).
std::uint64_t ParseFileSize(const char* text);
// The local date as "%d/%02d/%02d", or "00/00/00" for a time before 1970
// (local time) or one that is not a time at all.
std::string FormatFileDate(const FILETIME& time);
