#include "cleanup/BrowserCache.h"
#include "cleanup/InternetPage.h"

#include "framework/Handle.h"
#include "framework/Path.h"
#include "framework/Seams.h"
#include "resources/resource.h"

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
    std::vector<std::string> Listed(const std::string& browser, ScriptedSink& progress)
    {
        std::vector<std::string> names;
        CacheListing listing([&](const std::string& folder, const framework::FileFind& entry, int) {
            names.push_back(folder.substr(m_temp.Path().size()) + "\\" + entry.GetFileName());
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
    m_temp.MakeFile("cache\\page.htm");
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

    SetText(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Cache", "Cache Dir", m_temp.Path() + "cache");
    EXPECT_EQ(InstalledBrowsers(), std::vector<std::string>{"Netscape Navigator 3.0"});
}

TEST_F(BrowserCacheTest, EachBrowserListsItsOwnFolders)
{
    for (const char* file : {"content\\top.htm", "content\\A1\\a.gif", "content\\B2\\b.gif", "content\\C3\\c.gif",
                             "p1\\one.htm", "p2\\two.htm", "ns\\page.htm", "ns\\sub\\deep.htm"})
        m_temp.MakeFile(file, 10);
    SetText(HKEY_LOCAL_MACHINE, std::string(kCacheKey) + "\\Content", "CachePath", m_temp.Path() + "content");
    SetText(HKEY_LOCAL_MACHINE, std::string(kCacheKey) + "\\Paths\\Path1", "CachePath", m_temp.Path() + "p1");
    SetText(HKEY_LOCAL_MACHINE, std::string(kCacheKey) + "\\Paths\\Path2", "CachePath", m_temp.Path() + "p2\\");
    SetText(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Cache", "Cache Dir", m_temp.Path() + "ns");

    ScriptedSink progress;
    EXPECT_EQ(Listed("Internet Explorer 4.0", progress),
              (std::vector<std::string>{"content\\A1\\a.gif", "content\\B2\\b.gif", "content\\C3\\c.gif"}));
    ASSERT_FALSE(progress.texts.empty());
    EXPECT_EQ(progress.texts[0].rfind("1 files found\nChecking " + m_temp.Path() + "content\\", 0), 0u);
    EXPECT_EQ(progress.texts.size(), 3u);
    EXPECT_EQ(Listed("Internet Explorer 3.0", progress), (std::vector<std::string>{"p1\\one.htm", "p2\\two.htm"}));
    EXPECT_EQ(Listed("Netscape Navigator 3.0", progress), (std::vector<std::string>{"ns\\page.htm", "ns\\sub"}));
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
    auto listed = [](const std::string& browser, const std::string& base) {
        std::vector<std::string> names;
        CacheListing listing([&](const std::string& folder, const framework::FileFind& entry, int) {
            names.push_back(folder.substr(base.size()) + "\\" + entry.GetFileName());
        });
        ScriptedSink progress;
        for (const std::string& folder : CacheFolders(browser))
            listing.List(folder, progress);
        std::sort(names.begin(), names.end());
        return names;
    };
    EXPECT_EQ(listed("Google Chrome (Default)", google.Path() + "Chrome\\User Data\\Default\\"),
              (std::vector<std::string>{"Cache\\Cache_Data\\data_0", "Cache\\Cache_Data\\f_000001",
                                        "Code Cache\\js\\1a2b_0", "GPUCache\\data_1"}));
    EXPECT_EQ(listed("Mozilla Firefox (x1y2.default-release)", mozilla.Path() + "Firefox\\Profiles\\"),
              std::vector<std::string>{"x1y2.default-release\\cache2\\entries\\0A1B2C"});
}

TEST_F(BrowserCacheTest, DeleteAllDeletesEveryListedFile)
{
    m_temp.MakeFile("ns\\one.htm", 10);
    m_temp.MakeFile("ns\\two.htm", 10);
    m_temp.MakeFile("ns\\sub\\kept.htm", 10);
    // A running browser holds some of its files open.
    framework::KernelHandle held(::CreateFileA(m_temp.MakeFile("ns\\held.htm", 10).c_str(), GENERIC_READ, 0, nullptr,
                                               OPEN_EXISTING, 0, nullptr));
    SetText(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Cache", "Cache Dir", m_temp.Path() + "ns");
    m_store.WriteProfileInt("Settings", "SkipInternetPage1", 1);
    StartOn(5, 1);
    HWND page = Page(5, 1);
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
                                                                   return IDOK;
                                                               });
    Press(page, IDC_DELETE_ALL);
    EXPECT_EQ(flags, 0);
    // What is still there is said, never passed over as done.
    EXPECT_NE(told.find(m_temp.Path() + "ns\\held.htm (it could not be deleted"), std::string::npos) << told;
    EXPECT_NE(told.find(m_temp.Path() + "ns\\sub (it could not be deleted"), std::string::npos) << told;
    // Inside a checked cache folder a folder row goes to the shell too, which
    // asks first; this shell removes files only, so the folder's row stays.
    EXPECT_EQ(handed, (std::vector<std::string>{m_temp.Path() + "ns\\held.htm", m_temp.Path() + "ns\\one.htm",
                                                m_temp.Path() + "ns\\sub", m_temp.Path() + "ns\\two.htm"}));
    EXPECT_EQ(ColumnTexts(list, 0), (std::vector<std::string>{"held.htm", "sub"}));
    held.reset();
    EXPECT_NE(::GetFileAttributesA((m_temp.Path() + "ns\\sub\\kept.htm").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(::GetFileAttributesA((m_temp.Path() + "ns\\one.htm").c_str()), INVALID_FILE_ATTRIBUTES);

    // Start Over and Next again: still four columns.
    Press(page, IDC_START_OVER);
    PumpPending();
    Press(Page(5, 0), IDC_NEXT);
    PumpPending();
    EXPECT_EQ(::SendMessageA(ListView_GetHeader(list), HDM_GETITEMCOUNT, 0, 0), 4);
}
