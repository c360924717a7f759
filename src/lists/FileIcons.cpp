#include "lists/FileIcons.h"

#include "framework/Seams.h"
#include "framework/Text.h"

#include <shellapi.h>

#include <algorithm>
#include <array>
#include <string_view>

namespace {

HIMAGELIST g_systemImageList = nullptr;

// Types whose every file may show an icon of its own.
constexpr std::array<std::string_view, 10> kOwnIconTypes = {"exe", "ico", "lnk", "cur", "ani",
                                                            "scr", "cpl", "url", "pif", "icl"};

// The lower-case extension of the path's file name; empty when the name has
// none, as folders mostly do, or when the file shows an icon of its own.
std::string SharedIconType(const std::string& path)
{
    size_t name = path.find_last_of('\\');
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (name != std::string::npos && dot < name) || dot + 1 == path.size())
        return {};
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(), framework::LowerAscii);
    if (std::find(kOwnIconTypes.begin(), kOwnIconTypes.end(), extension) != kOwnIconTypes.end())
        return {};
    return extension;
}

}  // namespace

HIMAGELIST GetSysImageList()
{
    if (!g_systemImageList) {
        SHFILEINFOA info{};
        g_systemImageList = reinterpret_cast<HIMAGELIST>(
            ::SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    }
    return g_systemImageList;
}

void ReleaseSysImageList()
{
    g_systemImageList = nullptr;
}

int GetFileIconIndex(const std::string& path)
{
    SHFILEINFOA info{};
    framework::GetSeams().fileInfo(path.c_str(), 0, info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    return info.iIcon;
}

int FileIconCache::IndexOf(const std::string& path)
{
    std::string type = SharedIconType(path);
    if (type.empty())
        return GetFileIconIndex(path);
    auto known = m_byExtension.find(type);
    if (known != m_byExtension.end())
        return known->second;
    int index = GetFileIconIndex(path);
    m_byExtension.emplace(std::move(type), index);
    return index;
}

int FileIconCache::FolderIndex()
{
    if (m_folder < 0) {
        SHFILEINFOA info{};
        framework::GetSeams().fileInfo("folder", FILE_ATTRIBUTE_DIRECTORY, info,
                                       SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
        m_folder = info.iIcon;
    }
    return m_folder;
}
