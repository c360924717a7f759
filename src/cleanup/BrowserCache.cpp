#include "cleanup/BrowserCache.h"

#include "framework/FileFind.h"
#include "framework/Handle.h"
#include "framework/Path.h"
#include "framework/Text.h"
#include "framework/Win32.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* kNetscape4 = "Netscape Navigator 4.0";
constexpr const char* kNetscape3 = "Netscape Navigator 3.0";
constexpr const char* kExplorer4 = "Internet Explorer 4.0";
constexpr const char* kExplorer3 = "Internet Explorer 3.0";

constexpr const char* kNetscapeUsers = "Software\\Netscape\\Netscape Navigator\\Users";
constexpr const char* kNetscapeCache = "Software\\Netscape\\Netscape Navigator\\Cache";
constexpr const char* kExplorerContent =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache\\Content";
constexpr const char* kExplorerPath =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache\\Paths\\Path";

std::string Explorer4Content()
{
    return ReadRegistryText(HKEY_LOCAL_MACHINE, kExplorerContent, "CachePath");
}

std::string Explorer3Path(int number)
{
    return ReadRegistryText(HKEY_LOCAL_MACHINE, (kExplorerPath + std::to_string(number)).c_str(), "CachePath");
}

std::string Netscape4User()
{
    return ReadRegistryText(HKEY_LOCAL_MACHINE, kNetscapeUsers, "CurrentUser");
}

std::string WithoutTrailingBackslash(std::string folder)
{
    while (folder.size() > 3 && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

// The folders the registry names for a browser, missing ones left out; for
// Internet Explorer 4.0 the content folder, whose sub-folders hold the files.
std::vector<std::string> NamedFolders(const std::string& browser)
{
    std::vector<std::string> folders;
    if (browser == kNetscape4) {
        std::string user = Netscape4User();
        std::string root =
            user.empty()
                ? std::string()
                : ReadRegistryText(HKEY_LOCAL_MACHINE, (std::string(kNetscapeUsers) + "\\" + user).c_str(), "DirRoot");
        if (!root.empty())
            folders.push_back(WithoutTrailingBackslash(root) + "\\Cache");
    } else if (browser == kNetscape3) {
        folders.push_back(ReadRegistryText(HKEY_CURRENT_USER, kNetscapeCache, "Cache Dir"));
    } else if (browser == kExplorer3) {
        for (int number = 1; number <= 4; ++number)
            folders.push_back(Explorer3Path(number));
    } else if (browser == kExplorer4) {
        folders.push_back(Explorer4Content());
    }
    std::erase_if(folders, [](const std::string& folder) { return folder.empty(); });
    for (std::string& folder : folders)
        folder = WithoutTrailingBackslash(folder);
    return folders;
}

// Browsers name their cache folders so: "Cache", "cache2", "GPUCache",
// "INetCache", and Internet Explorer's own two.
bool NamesACache(const std::string& name)
{
    std::string lower = name;
    std::ranges::transform(lower, lower.begin(), framework::LowerAscii);
    return lower.find("cache") != std::string::npos || lower == "temporary internet files" || lower == "content.ie5";
}

bool AllUsable(const std::vector<std::string>& folders)
{
    return std::all_of(folders.begin(), folders.end(), IsUsableCacheFolder);
}

// Today's browsers keep a cache per profile below the local application data:
// every sub-folder of profiles is a profile, offered as "name (profile)".
struct ProfileBrowser {
    const char* name;
    const char* profiles;
    std::vector<const char*> caches;  // the folders that hold the files themselves
};

const std::vector<ProfileBrowser>& ProfileBrowsers()
{
    static const std::vector<const char*> chromium = {"Cache\\Cache_Data", "Code Cache\\js", "Code Cache\\wasm",
                                                      "GPUCache"};
    static const std::vector<ProfileBrowser> browsers = {
        {"Google Chrome", "Google\\Chrome\\User Data", chromium},
        {"Microsoft Edge", "Microsoft\\Edge\\User Data", chromium},
        {"Brave", "BraveSoftware\\Brave-Browser\\User Data", chromium},
        {"Vivaldi", "Vivaldi\\User Data", chromium},
        // Opera keeps one profile per edition: "Opera Stable", "Opera GX Stable".
        {"Opera", "Opera Software", chromium},
        {"Chromium", "Chromium\\User Data", chromium},
        {"Mozilla Firefox", "Mozilla\\Firefox\\Profiles", {"cache2\\entries"}},
    };
    return browsers;
}

struct Profile {
    std::string entry;
    std::vector<std::string> folders;
};

// Every profile with at least one cache folder, in the table's order.
std::vector<Profile> BrowserProfiles()
{
    std::vector<Profile> found;
    std::string local = framework::KnownFolder(CSIDL_LOCAL_APPDATA);
    if (local.empty())
        return found;
    for (const ProfileBrowser& browser : ProfileBrowsers()) {
        size_t first = found.size();
        framework::FileFind find;
        std::string profiles = local + "\\" + browser.profiles;
        for (bool more = find.FindFile(profiles + "\\*.*"); more; more = find.FindNextFile()) {
            if (!find.IsDirectory() || find.IsDots() || find.IsReparsePoint())
                continue;
            Profile profile{std::string(browser.name) + " (" + find.GetFileName() + ")", {}};
            for (const char* cache : browser.caches) {
                std::string folder = find.GetFilePath() + "\\" + cache;
                if (IsUsableCacheFolder(folder) &&
                    (framework::GetPathAttributes(folder) & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
                    profile.folders.push_back(folder);
            }
            if (!profile.folders.empty())
                found.push_back(std::move(profile));
        }
        // The file system need not list them in order.
        std::sort(found.begin() + static_cast<std::ptrdiff_t>(first), found.end(),
                  [](const Profile& a, const Profile& b) { return a.entry < b.entry; });
    }
    return found;
}

}  // namespace

std::string ReadRegistryText(HKEY hive, const char* key, const char* value)
{
    framework::RegKey opened;
    if (::RegOpenKeyExA(hive, key, 0, KEY_READ, opened.put()) != ERROR_SUCCESS)
        return {};
    std::optional<framework::RegistryString> read = framework::ReadRegistryString(opened.get(), value);
    if (!read)
        return {};
    if (read->type != REG_EXPAND_SZ)
        return read->text;
    DWORD length = ::ExpandEnvironmentStringsA(read->text.c_str(), nullptr, 0);
    std::vector<char> expanded(length + 1, '\0');
    ::ExpandEnvironmentStringsA(read->text.c_str(), expanded.data(), length + 1);
    return expanded.data();
}

bool IsUsableCacheFolder(const std::string& folder)
{
    // The text first: an unreachable share would hold up the window being built.
    if (!framework::IsFullPath(folder) || framework::IsNetworkPath(folder))
        return false;
    DWORD attributes = framework::GetPathAttributes(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        framework::IsProtectedFolder(folder) || framework::HoldsUserFolder(folder))
        return false;
    std::string resolved = framework::ResolvedFolder(folder);
    size_t name = resolved.find_last_of('\\');
    if (name == std::string::npos)
        return false;
    size_t parent = resolved.find_last_of('\\', name == 0 ? 0 : name - 1);
    return NamesACache(resolved.substr(name + 1)) ||
           (parent != std::string::npos && NamesACache(resolved.substr(parent + 1, name - parent - 1)));
}

std::vector<std::string> InstalledBrowsers()
{
    std::vector<std::string> browsers;
    auto offer = [&](const char* browser) {
        if (AllUsable(NamedFolders(browser)))
            browsers.emplace_back(browser);
    };
    if (!Netscape4User().empty())
        offer(kNetscape4);
    if (!ReadRegistryText(HKEY_CURRENT_USER, kNetscapeCache, "Cache Dir").empty())
        offer(kNetscape3);
    if (!Explorer4Content().empty())
        offer(kExplorer4);
    else if (!Explorer3Path(1).empty())
        offer(kExplorer3);
    for (const Profile& profile : BrowserProfiles())
        browsers.push_back(profile.entry);
    return browsers;
}

std::vector<std::string> CacheFolders(const std::string& browser)
{
    for (Profile& profile : BrowserProfiles()) {
        if (profile.entry == browser)
            return std::move(profile.folders);
    }
    std::vector<std::string> folders = NamedFolders(browser);
    if (!AllUsable(folders))
        return {};
    if (browser != kExplorer4 || folders.empty())
        return folders;
    std::vector<std::string> subFolders;
    framework::FileFind find;
    for (bool more = find.FindFile(folders.front() + "\\*.*"); more; more = find.FindNextFile()) {
        // Only real sub-folders: a junction or link may lead anywhere.
        if (find.IsDirectory() && !find.IsDots() && !find.IsReparsePoint())
            subFolders.push_back(find.GetFilePath());
    }
    return subFolders;
}

bool CacheListing::List(const std::string& folder, ProgressSink& progress)
{
    framework::FileFind find;
    for (bool more = find.FindFile(folder + "\\*.*"); more; more = find.FindNextFile()) {
        if (find.IsDots())
            continue;
        ++m_count;
        m_entry(folder, find, m_count);
        char text[MAX_PATH + 64];
        std::snprintf(text, sizeof text, "%d files found\nChecking %s...", m_count, find.GetFilePath().c_str());
        if (!progress.Step(text))
            return false;
    }
    return true;
}
