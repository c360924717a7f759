#include "lists/FileText.h"

#include "framework/Win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::uint64_t kKilobyte = 1024;
constexpr std::uint64_t kMegabyte = 1024 * 1024;

// Truncates toward zero; negative and oversized values stay in range.
std::uint64_t ToByteCount(double value)
{
    if (!(value > 0))
        return 0;
    if (value >= 18446744073709551615.0)
        return UINT64_MAX;
    return static_cast<std::uint64_t>(value);
}

}  // namespace

std::string FormatFileSize(std::uint64_t bytes)
{
    char text[64];
    if (bytes < kKilobyte)
        std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
    else if (bytes < 100 * kKilobyte)
        std::snprintf(text, sizeof text, "%.1f K", static_cast<double>(bytes) / kKilobyte);
    else if (bytes < kMegabyte)
        std::snprintf(text, sizeof text, "%llu K", static_cast<unsigned long long>((bytes + 512) >> 10));
    else
        std::snprintf(text, sizeof text, "%.2f M", static_cast<double>(bytes) / kMegabyte);
    return text;
}

std::string FormatSpace(std::uint64_t bytes)
{
    if (bytes < 1024 * kMegabyte)
        return FormatFileSize(bytes);
    char text[32];
    std::snprintf(text, sizeof text, "%.1f G", static_cast<double>(bytes) / (1024.0 * kMegabyte));
    return text;
}

std::string FormatCount(std::uint64_t count)
{
    std::string digits = std::to_string(count);
    for (size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, ',');
    return digits;
}

std::string CountOf(std::uint64_t count, const char* singular)
{
    return FormatCount(count) + ' ' + singular + (count == 1 ? "" : "s");
}

std::uint64_t ParseFileSize(const char* text)
{
    if (std::strstr(text, "bytes"))
        return std::strtoull(text, nullptr, 10);
    if (std::strchr(text, 'K'))
        return ToByteCount(std::strtod(text, nullptr) * kKilobyte);
    if (std::strchr(text, 'M'))
        return ToByteCount(std::strtod(text, nullptr) * kMegabyte);
    return 0;
}

std::string FormatFileDate(const FILETIME& time)
{
    FILETIME local{};
    SYSTEMTIME date{};
    if (!::FileTimeToLocalFileTime(&time, &local) || !::FileTimeToSystemTime(&local, &date))
        return "00/00/00";
    if (framework::FileTimeTicks(local) < framework::kTicksFrom1601To1970)
        return "00/00/00";
    if (date.wYear > 9999) {
        char text[32];
        std::snprintf(text, sizeof text, "%d/%02d/%02d", date.wYear, date.wMonth, date.wDay);
        return text;
    }
    // Written by hand: this runs for every file a search lists.
    char text[] = "0000/00/00";
    for (int i = 3, year = date.wYear; i >= 0; --i, year /= 10)
        text[i] = static_cast<char>('0' + year % 10);
    text[5] = static_cast<char>('0' + date.wMonth / 10);
    text[6] = static_cast<char>('0' + date.wMonth % 10);
    text[8] = static_cast<char>('0' + date.wDay / 10);
    text[9] = static_cast<char>('0' + date.wDay % 10);
    return text;
}

std::string FolderText(std::string_view folder)
{
    bool driveRoot = folder.size() == 2 && folder[1] == ':';
    return driveRoot ? std::string(folder) + "\\" : std::string(folder);
}

std::string JoinPath(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (!path.ends_with('\\'))
        path += '\\';
    return path.append(name);
}
