#include "cleanup/BrowserCache.h"
#include "cleanup/InternetPage.h"

#include "app/Tabs.h"
#include "framework/Handle.h"
#include "framework/Path.h"
#include "framework/Seams.h"
#include "resources/resource.h"

#include "support/HostPath.h"
#include "support/Messages.h"
#include "support/Override.h"
#include "support/Program.h"
#include "support/ScriptedSink.h"
#include "support/TempFolder.h"
#include "support/TestList.h"
#include "support/UserActions.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kCacheKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache";

void SetText(HKEY hive, const std::string& key, const char* value, const std::string& text, DWORD type = REG_SZ)
{
    HKEY opened = nullptr;
    ::RegCreateKeyExA(hive, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr);
    ::RegSetValueExA(opened, value, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
    ::RegCloseKey(opened);
}

// Moves one of the user's folders (a value of User Shell Folders) for the
// test's length.
class MovedUserFolder {
public:
    MovedUserFolder(const char* value, const std::string& folder) : m_value(value)
    {
        ::RegCreateKeyExA(HKEY_CURRENT_USER, kUserFolders, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &m_key,
                          nullptr);
        DWORD size = sizeof m_old;
        m_had = ::RegQueryValueExA(m_key, value, nullptr, &m_type, m_old, &size) == ERROR_SUCCESS;
        m_size = size;
        ::RegSetValueExA(m_key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                         static_cast<DWORD>(folder.size() + 1));
    }
    ~MovedUserFolder()
    {
        if (m_had)
            ::RegSetValueExA(m_key, m_value, 0, m_type, m_old, m_size);
        else
            ::RegDeleteValueA(m_key, m_value);
        ::RegCloseKey(m_key);
    }

private:
    static constexpr const char* kUserFolders =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    const char* m_value;
    HKEY m_key = nullptr;
    bool m_had = false;
    DWORD m_type = REG_SZ;
    BYTE m_old[1024] = {};
    DWORD m_size = 0;
};

class BrowserCacheTest : public ProgramTest {
protected:
    void TearDown() override
    {
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kCacheKey);
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Netscape");
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Netscape");
        ProgramTest::TearDown();
    }
    // Every entry the listing gives for a browser, as folder-relative paths.
    std::vector<std::string> Listed(const std::string& browser, ScriptedSink& progress, std::string base = {})
    {
        if (base.empty())
            base = m_temp.Path();
        std::vector<std::string> names;
        CacheListing listing([&](const std::string& folder, const framework::FileFind& entry, int) {
            names.push_back(folder.substr(base.size()) + "\\" + entry.GetFileName());
        });
        for (const std::string& folder : CacheFolders(browser))
            listing.List(folder, progress);
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder m_temp;
};

}  // namespace

TEST_F(BrowserCacheTest, BrowsersAreOfferedByTheirRegistryValues)
{
    EXPECT_TRUE(InstalledBrowsers().empty());
    std::string cache = m_temp.MakeFolder("cache");
    SetText(HKEY_LOCAL_MACHINE, std::string(kCacheKey) + "\\Paths\\Path1", "CachePath", cache);
    EXPECT_EQ(InstalledBrowsers(), std::vector<std::string>{"Internet Explorer 3.0"});
    SetText(HKEY_LOCAL_MACHINE, std::string(kCacheKey) + "\\Content", "CachePath", cache);
    SetText(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Cache", "Cache Dir", cache);
    SetText(HKEY_LOCAL_MACHINE, "Software\\Netscape\\Netscape Navigator\\Users", "CurrentUser", "me");
    EXPECT_EQ(InstalledBrowsers(),
              (std::vector<std::string>{"Netscape Navigator 4.0", "Netscape Navigator 3.0", "Internet Explorer 4.0"}));

    // Values are read whole, and references expanded.
    std::string longPath = "C:\\" + std::string(600, 'x');
    SetText(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Cache", "Cache Dir", longPath);
    EXPECT_EQ(ReadRegistryText(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Cache", "Cache Dir"),
              longPath);
    char temp[MAX_PATH];
    std::string tempFolder(temp, ::GetTempPathA(MAX_PATH, temp));
    SetText(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Cache", "Cache Dir",
            "%TMP%\\" + cache.substr(tempFolder.size()), REG_EXPAND_SZ);
    EXPECT_EQ(CacheFolders("Netscape Navigator 3.0"), std::vector<std::string>{cache.substr(0, cache.size() - 1)});
}

TEST_F(BrowserCacheTest, OnlyAFolderOfItsOwnIsACache)
{
    m_temp.MakeFile("Cache\\page.htm");
    std::string file = m_temp.MakeFile("file.htm");
    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    char profile[MAX_PATH];
    ::ExpandEnvironmentStringsA("%USERPROFILE%", profile, MAX_PATH);
    for (const std::string& folder :
         {std::string("C:\\"), std::string(windows), std::string("%SystemRoot%\\system32"),
          std::string("%ProgramFiles%"), std::string(profile), std::string(profile) + "\\..", std::string("cache"),
          file, m_temp.Path() + "missing"}) {
        SetText(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Cache", "Cache Dir", folder, REG_EXPAND_SZ);
        EXPECT_TRUE(InstalledBrowsers().empty()) << folder;
        EXPECT_TRUE(CacheFolders("Netscape Navigator 3.0").empty()) << folder;
    }
    // A content folder is judged itself, not by its sub-folders.
    SetText(HKEY_LOCAL_MACHINE, std::string(kCacheKey) + "\\Content", "CachePath", "C:\\");
    EXPECT_TRUE(CacheFolders("Internet Explorer 4.0").empty());
    EXPECT_TRUE(InstalledBrowsers().empty());

    SetText(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Cache", "Cache Dir", m_temp.Path() + "Cache");
    EXPECT_EQ(InstalledBrowsers(), std::vector<std::string>{"Netscape Navigator 3.0"});
}

TEST_F(BrowserCacheTest, ARegistryCacheIsPlainlyACacheAndNoneOfTheUsersFolders)
{
    std::string cache = m_temp.MakeFolder("Cache");
    std::string documents = framework::KnownFolder(CSIDL_PERSONAL);
    // Named like caches, yet the user's own folders or holding one.
    MovedUserFolder movedDocuments("Personal", m_temp.MakeFolder("Old Cache"));
    MovedUserFolder movedDownloads("{374DE290-123F-4565-9164-39C4925E467B}", m_temp.MakeFolder("WebCache\\Downloads"));
    // Wine finds \\server\share below the prefix's dosdevices\unc: a share that answers.
    const char* prefix = std::getenv("WINEPREFIX");
    ASSERT_NE(prefix, nullptr);
    ::CreateDirectoryA(HostPath(std::string(prefix) + "/dosdevices/unc").c_str(), nullptr);
    TempFolder server(HostPath(std::string(prefix) + "/dosdevices/unc/corvane-server/"));
    server.MakeFolder("share\\Cache");
    ASSERT_NE(framework::GetPathAttributes("\\\\corvane-server\\share\\Cache"), INVALID_FILE_ATTRIBUTES);

    for (const std::string& folder :
         {documents, m_temp.Path() + "Old Cache", m_temp.Path() + "WebCache", m_temp.MakeFolder("Plain\\sub"),
          std::string("\\\\corvane-server\\share\\Cache")}) {
        SetText(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Cache", "Cache Dir", folder);
        EXPECT_TRUE(InstalledBrowsers().empty()) << folder;
        EXPECT_TRUE(CacheFolders("Netscape Navigator 3.0").empty()) << folder;
    }
    // A folder named so, or below one named so, in the forms the browsers use.
    for (const std::string& folder :
         {cache, m_temp.MakeFolder("Cache\\f_01"), m_temp.MakeFolder("Temporary Internet Files\\Content.IE5"),
          m_temp.MakeFolder("Temporary Internet Files\\Content.IE5\\X1Y2")}) {
        SetText(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Cache", "Cache Dir", folder);
        EXPECT_EQ(InstalledBrowsers(), std::vector<std::string>{"Netscape Navigator 3.0"}) << folder;
    }
}

TEST_F(BrowserCacheTest, EachBrowserListsItsOwnFolders)
{
    for (const char* file :
         {"Content.IE5\\top.htm", "Content.IE5\\A1\\a.gif", "Content.IE5\\B2\\b.gif", "Content.IE5\\C3\\c.gif",
          "cache1\\one.htm", "cache2\\two.htm", "ns\\cache\\page.htm", "ns\\cache\\sub\\deep.htm"})
        m_temp.MakeFile(file, 10);
    SetText(HKEY_LOCAL_MACHINE, std::string(kCacheKey) + "\\Content", "CachePath", m_temp.Path() + "Content.IE5");
    SetText(HKEY_LOCAL_MACHINE, std::string(kCacheKey) + "\\Paths\\Path1", "CachePath", m_temp.Path() + "cache1");
    SetText(HKEY_LOCAL_MACHINE, std::string(kCacheKey) + "\\Paths\\Path2", "CachePath", m_temp.Path() + "cache2\\");
    SetText(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Cache", "Cache Dir",
            m_temp.Path() + "ns\\cache");

    ScriptedSink progress;
    EXPECT_EQ(Listed("Internet Explorer 4.0", progress),
              (std::vector<std::string>{"Content.IE5\\A1\\a.gif", "Content.IE5\\B2\\b.gif", "Content.IE5\\C3\\c.gif"}));
    ASSERT_FALSE(progress.texts.empty());
    EXPECT_EQ(progress.texts[0].rfind("1 files found\nChecking " + m_temp.Path() + "Content.IE5\\", 0), 0u);
    EXPECT_EQ(progress.texts.size(), 3u);
    EXPECT_EQ(Listed("Internet Explorer 3.0", progress),
              (std::vector<std::string>{"cache1\\one.htm", "cache2\\two.htm"}));
    EXPECT_EQ(Listed("Netscape Navigator 3.0", progress),
              (std::vector<std::string>{"ns\\cache\\page.htm", "ns\\cache\\sub"}));
}

TEST_F(BrowserCacheTest, TodaysBrowsersAreOfferedPerProfileWithTheirCaches)
{
    std::string local = framework::KnownFolder(CSIDL_LOCAL_APPDATA) + "\\";
    TempFolder google(local + "Google\\");
    TempFolder mozilla(local + "Mozilla\\");
    ASSERT_FALSE(google.Path().empty() || mozilla.Path().empty());
    for (const char* file :
         {"Chrome\\User Data\\Default\\Cache\\Cache_Data\\f_000001",
          "Chrome\\User Data\\Default\\Cache\\Cache_Data\\data_0", "Chrome\\User Data\\Default\\Code Cache\\js\\1a2b_0",
          "Chrome\\User Data\\Default\\GPUCache\\data_1", "Chrome\\User Data\\Default\\Preferences",
          "Chrome\\User Data\\Profile 1\\Cache\\Cache_Data\\f_000002", "Chrome\\User Data\\System Profile\\Preferences",
          "Chrome\\User Data\\Local State"})
        google.MakeFile(file, 10);
    mozilla.MakeFile("Firefox\\Profiles\\x1y2.default-release\\cache2\\entries\\0A1B2C", 10);
    mozilla.MakeFile("Firefox\\Profiles\\x1y2.default-release\\cache2\\index", 10);

    EXPECT_EQ(InstalledBrowsers(), (std::vector<std::string>{"Google Chrome (Default)", "Google Chrome (Profile 1)",
                                                             "Mozilla Firefox (x1y2.default-release)"}));
    ScriptedSink progress;
    EXPECT_EQ(Listed("Google Chrome (Default)", progress, google.Path() + "Chrome\\User Data\\Default\\"),
              (std::vector<std::string>{"Cache\\Cache_Data\\data_0", "Cache\\Cache_Data\\f_000001",
                                        "Code Cache\\js\\1a2b_0", "GPUCache\\data_1"}));
    EXPECT_EQ(Listed("Mozilla Firefox (x1y2.default-release)", progress, mozilla.Path() + "Firefox\\Profiles\\"),
              std::vector<std::string>{"x1y2.default-release\\cache2\\entries\\0A1B2C"});
}

TEST_F(BrowserCacheTest, DeleteAllDeletesEveryListedFile)
{
    m_temp.MakeFile("cache\\one.htm", 10);
    m_temp.MakeFile("cache\\two.htm", 10);
    m_temp.MakeFile("cache\\sub\\kept.htm", 10);
    // A running browser holds some of its files open.
    framework::KernelHandle held(::CreateFileA(m_temp.MakeFile("cache\\held.htm", 10).c_str(), GENERIC_READ, 0, nullptr,
                                               OPEN_EXISTING, 0, nullptr));
    SetText(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Cache", "Cache Dir", m_temp.Path() + "cache");
    m_store.WriteProfileInt("Settings", "SkipInternetPage1", 1);
    StartOn(kInternetTab, 1);
    HWND page = Page(kInternetTab, 1);
    HWND list = ::GetDlgItem(page, IDC_RESULTS_LIST);
    EXPECT_EQ(ColumnTexts(list, 0), (std::vector<std::string>{"held.htm", "one.htm", "sub", "two.htm"}));

    FILEOP_FLAGS flags = 0xFFFF;
    std::vector<std::string> handed;
    ScopedOverride<decltype(framework::Seams::fileOperation)> remove(
        framework::GetSeams().fileOperation, [&](SHFILEOPSTRUCTA& operation) {
            flags = operation.fFlags;
            for (const char* path = operation.pFrom; *path; path += std::strlen(path) + 1) {
                handed.push_back(path);
                ::DeleteFileA(path);
            }
            return 0;
        });
    std::string told;
    ScopedOverride<decltype(framework::Seams::messageBox)> box(framework::GetSeams().messageBox,
                                                               [&](HWND, const char* text, const char*, UINT) {
                                                                   told += text;
                                                                   return IDYES;
                                                               });
    Press(page, IDC_DELETE_ALL);
    EXPECT_EQ(flags, 0);
    // What is still there is said, never passed over as done.
    EXPECT_NE(told.find(m_temp.Path() + "cache\\held.htm (it could not be deleted"), std::string::npos) << told;
    // A folder row is deleted here after a question of our own, never
    // through a link the shell might follow; the files go to the shell.
    EXPECT_NE(told.find("Delete these permanently?"), std::string::npos) << told;
    EXPECT_EQ(handed, (std::vector<std::string>{m_temp.Path() + "cache\\held.htm", m_temp.Path() + "cache\\one.htm",
                                                m_temp.Path() + "cache\\two.htm"}));
    EXPECT_EQ(ColumnTexts(list, 0), (std::vector<std::string>{"held.htm"}));
    held.reset();
    EXPECT_EQ(::GetFileAttributesA((m_temp.Path() + "cache\\sub").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(::GetFileAttributesA((m_temp.Path() + "cache\\one.htm").c_str()), INVALID_FILE_ATTRIBUTES);

    // Start Over and Next again: still four columns.
    Press(page, IDC_START_OVER);
    PumpPending();
    Press(Page(kInternetTab, 0), IDC_NEXT);
    PumpPending();
    EXPECT_EQ(::SendMessageA(ListView_GetHeader(list), HDM_GETITEMCOUNT, 0, 0), 4);
}
