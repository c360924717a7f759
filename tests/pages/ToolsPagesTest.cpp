#include "tools/ToolsPages.h"

#include "framework/Seams.h"
#include "framework/Text.h"
#include "pages/TestPages.h"
#include "resources/resource.h"

#include "support/Messages.h"
#include "support/Override.h"
#include "support/UserActions.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

template <typename Page, typename... Arguments> std::unique_ptr<TestHost> HostFor(Arguments... arguments)
{
    std::vector<TabEntry> tabs;
    tabs.push_back({"Page", {[=] { return std::make_unique<Page>(arguments...); }}});
    return std::make_unique<TestHost>(std::move(tabs));
}

}  // namespace

TEST(ToolsPage, EachSystemStartsTheToolsItHas)
{
    std::vector<std::string> started;
    ScopedOverride<decltype(framework::Seams::shellExecute)> shell(
        framework::GetSeams().shellExecute,
        [&](HWND, const char* verb, const char* file, const char* parameters, const char* folder, int show) {
            EXPECT_EQ(folder, nullptr);
            EXPECT_EQ(show, SW_SHOWNORMAL);
            started.push_back(std::string(verb) + " " + file + (parameters ? std::string(" ") + parameters : ""));
            return INT_PTR{2};  // not found: nothing else happens
        });
    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string systemDrive(windows, 2);
    // By full path: a program of the same name beside ours must not start.
    char folder[MAX_PATH];
    ::GetSystemDirectoryA(folder, MAX_PATH);
    const std::string systemFolder = std::string(folder) + "\\";

    // Windows 10, Windows NT 4.0 and Windows 95, as GetVersion reports them.
    const struct {
        DWORD version;
        bool canDefrag;
        std::vector<std::string> commands;
    } systems[] = {
        {0x4A61000A,
         true,
         {"open " + systemFolder + "sdclt.exe", "open " + systemFolder + "sdclt.exe",
          "runas " + systemFolder + "cmd.exe /k chkdsk " + systemDrive, "open " + systemFolder + "dfrgui.exe"}},
        {0x05650004,
         false,
         {"open " + systemFolder + "ntbackup.exe", "open " + systemFolder + "ntbackup.exe",
          "open " + systemFolder + "chkdsk.exe"}},
        {0xC3B60004,
         true,
         {"open " + systemFolder + "backup.exe", "open " + systemFolder + "backup.exe",
          "open " + systemFolder + "scandskw.exe", "open " + systemFolder + "defrag.exe"}},
    };
    for (const auto& system : systems) {
        started.clear();
        auto host = HostFor<ToolsPage>(system.version);
        HWND page = host->View().GetPage(0, 0)->GetSafeHwnd();
        EXPECT_EQ(::IsWindowEnabled(::GetDlgItem(page, IDC_DEFRAG)) != FALSE, system.canDefrag) << system.version;
        for (int id : {IDC_BACKUP, IDC_BACKUP, IDC_SCANDISK})
            Press(page, id);
        if (system.canDefrag)
            Press(page, IDC_DEFRAG);
        else
            EXPECT_NONFATAL_FAILURE(Press(page, IDC_DEFRAG), "is disabled, so no user could press it");
        EXPECT_EQ(started, system.commands);
    }
}

TEST(TipsPage, SevenTipsWithTheirParagraphs)
{
    auto host = HostFor<TipsPage>();
    HWND page = host->View().GetPage(0, 0)->GetSafeHwnd();
    HWND titles = ::GetDlgItem(page, IDC_TIP_LIST);
    HWND text = ::GetDlgItem(page, IDC_TIP_TEXT);
    ASSERT_EQ(::SendMessageA(titles, CB_GETCOUNT, 0, 0), 7);
    EXPECT_EQ(framework::GetWindowTextString(titles), "Tip #1 - Keep a Buffer Zone");
    EXPECT_EQ(framework::GetWindowTextString(text), kTips[0].text);
    EXPECT_TRUE(::GetWindowLongA(text, GWL_STYLE) & ES_READONLY);

    const int paragraphs[] = {3, 2, 2, 4, 2, 3, 3};
    for (int i = 0; i < 7; ++i) {
        std::string tip = kTips[i].text;
        int breaks = 0;
        for (size_t at = tip.find("\r\n\r\n"); at != std::string::npos; at = tip.find("\r\n\r\n", at + 4))
            ++breaks;
        EXPECT_EQ(breaks + 1, paragraphs[i]) << kTips[i].title;
        EXPECT_EQ(tip.find("\r\n\r\n\r\n"), std::string::npos);
    }

    ::SendMessageA(titles, CB_SETCURSEL, 6, 0);
    ::SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_TIP_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(titles));
    EXPECT_EQ(framework::GetWindowTextString(titles), "Tip #7 - Shop Wisely");
    EXPECT_EQ(framework::GetWindowTextString(text), kTips[6].text);
}
