#include "tools/ToolsPages.h"

#include "framework/Seams.h"
#include "framework/Text.h"
#include "pages/TestPages.h"
#include "resources/resource.h"

#include "support/Messages.h"
#include "support/Override.h"

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

TEST(ToolsPage, EachFamilyStartsItsOwnPrograms)
{
    std::vector<std::string> started;
    ScopedOverride<decltype(framework::Seams::shellExecute)> shell(
        framework::GetSeams().shellExecute,
        [&](HWND, const char* verb, const char* file, const char* parameters, const char* folder, int show) {
            EXPECT_STREQ(verb, "open");
            EXPECT_EQ(parameters, nullptr);
            EXPECT_EQ(folder, nullptr);
            EXPECT_EQ(show, SW_SHOWNORMAL);
            started.emplace_back(file);
            return INT_PTR{2};  // not found: nothing else happens
        });
    EXPECT_FALSE(IsWindows95Family());  // Wine is of the Windows NT family

    for (bool windows95 : {false, true}) {
        auto host = HostFor<ToolsPage>(windows95);
        HWND page = host->View().GetPage(0, 0)->GetSafeHwnd();
        EXPECT_EQ(::IsWindowEnabled(::GetDlgItem(page, IDC_DEFRAG)) != FALSE, windows95);
        for (int id : {IDC_BACKUP, IDC_BACKUP, IDC_SCANDISK, IDC_DEFRAG})
            ::SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    }
    // The disabled Defrag button does nothing, even when a message reaches it.
    EXPECT_EQ(started, (std::vector<std::string>{"ntbackup.exe", "ntbackup.exe", "chkdsk.exe", "backup.exe",
                                                 "backup.exe", "scandskw.exe", "defrag.exe"}));
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
