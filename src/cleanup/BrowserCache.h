// The disk caches of the web browsers the registry knows of, and of today's
// browsers' profiles.
#pragma once

#include "framework/FileFind.h"
#include "working/ProgressSink.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A registry text read whole; a REG_EXPAND_SZ value comes back expanded.
// Empty when the key or value is missing or holds no text.
std::string ReadRegistryText(HKEY hive, const char* key, const char* value);

// A folder another program's registry names as its cache is used only when it
// is plainly a cache: a full path, not on the network (never touched there),
// to an existing folder that is not and holds no protected folder and none of
// the user's own, and whose name or whose parent's name, links and short
// names resolved, contains "cache" or is "Temporary Internet Files" or
// "Content.IE5".
bool IsUsableCacheFolder(const std::string& folder);
// The browsers to offer, in order: at most one Internet Explorer, and none
// whose registry names a cache folder that is not usable; then each profile
// of today's browsers that has a usable cache folder.
std::vector<std::string> InstalledBrowsers();
// The folders that hold a browser's cache files; none when one of the
// folders its registry names is not usable.
std::vector<std::string> CacheFolders(const std::string& browser);

// Lists cache folders one after the other without descending into them.
class CacheListing {
public:
    // Called for every entry, sub-folders included, with its running number.
    using Entry = std::function<void(const std::string& folder, const framework::FileFind& entry, int number)>;

    explicit CacheListing(Entry entry) : m_entry(std::move(entry)) {}

    // False once the user asked to stop.
    bool List(const std::string& folder, ProgressSink& progress);
    int Count() const noexcept { return m_count; }

private:
    Entry m_entry;
    int m_count = 0;
};
