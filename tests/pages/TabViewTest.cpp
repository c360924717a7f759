#include "framework/Seams.h"
#include "pages/PageMessages.h"
#include "pages/TestPages.h"
#include "resources/resource.h"

#include "support/Messages.h"
#include "support/Override.h"
#include "support/Program.h"
#include "support/UserActions.h"

#include <commctrl.h>

namespace {

constexpr int kDllsTab = 1;

class TabViewTest : public SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        m_results = nullptr;
    }

    // Tab 0: a page of its own; tab 1: the DLLs introduction, then a result
    // page whose Start Over resets the skip flag; tab 2: nothing built.
    void Build()
    {
        std::vector<TabEntry> tabs;
        tabs.push_back({"First", {[this] { return std::make_unique<RecordingPage>(m_store); }}});
        tabs.push_back(
            {"DLLs",
             {[this] { return std::make_unique<IntroPage>(IDD_DLLS_INTRO, "DLLs Page", m_store, "SkipDllPage1"); },
              [this] {
                  auto page = std::make_unique<RecordingPage>(m_store, "SkipDllPage1");
                  m_results = page.get();
                  return page;
              }}});
        tabs.push_back(TabEntry("Empty"));
        m_host = std::make_unique<TestHost>(std::move(tabs));
        PumpPending();
    }

    CTabView& View() { return m_host->View(); }
    HWND Page(int tab, int page) { return View().GetPage(tab, page)->GetSafeHwnd(); }
    bool ShowsPage(int tab, int page)
    {
        return View().GetCurrentPage() == View().GetPage(tab, page) && ::IsWindowVisible(Page(tab, page));
    }
    bool Key(WPARAM key)
    {
        MSG msg{::GetFocus(), WM_KEYDOWN, key, 0};
        bool handled = View().PreTranslateKeyDown(msg);
        PumpPending();
        return handled;
    }
    void Click(HWND page, int id)
    {
        Press(page, id);
        PumpPending();
    }

    SettingsStore m_store{"Halvett Software", "Corvane"};
    std::unique_ptr<TestHost> m_host;
    RecordingPage* m_results;
};

}  // namespace

TEST_F(TabViewTest, BuildsEveryTabAndShowsTheFirstPageBelowTheTabs)
{
    Build();
    EXPECT_EQ(View().GetTabCount(), 3);
    EXPECT_EQ(::GetDlgCtrlID(View().GetTabControl()), 1111);
    EXPECT_TRUE(ShowsPage(0, 0));
    EXPECT_FALSE(::IsWindowVisible(Page(kDllsTab, 0)));
    EXPECT_EQ(::GetParent(Page(0, 0)), View().GetTabControl());

    RECT item{}, page{};
    ::SendMessageA(View().GetTabControl(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    ::GetWindowRect(Page(0, 0), &page);
    ::MapWindowPoints(nullptr, View().GetTabControl(), reinterpret_cast<POINT*>(&page), 2);
    EXPECT_EQ(page.left, item.left + 2);
    EXPECT_EQ(page.top, item.bottom + 6);
}

TEST_F(TabViewTest, SkippedIntroductionLandsOnItsResultPageAndStartOverResets)
{
    m_store.WriteProfileInt("Settings", "SkipDllPage1", 1);
    Build();
    ShowTab(View(), kDllsTab);
    ASSERT_TRUE(PumpUntil([&] { return ShowsPage(kDllsTab, 1); }));
    PumpPending();
    EXPECT_EQ(m_results->events, (std::vector<std::string>{"activated"}));

    Click(Page(kDllsTab, 1), IDC_TEST_START_OVER);
    EXPECT_TRUE(ShowsPage(kDllsTab, 0));
    EXPECT_EQ(m_store.GetProfileInt("Settings", "SkipDllPage1", -1), 0);
}

TEST_F(TabViewTest, OnlyAClickOfAnEnabledButtonActs)
{
    Build();
    ClickTab(View().GetTabControl(), kDllsTab);
    Click(Page(kDllsTab, 0), IDC_NEXT);
    HWND results = Page(kDllsTab, 1);
    HWND startOver = ::GetDlgItem(results, IDC_TEST_START_OVER);
    ::SendMessageA(results, WM_COMMAND, MAKEWPARAM(IDC_TEST_START_OVER, BN_DOUBLECLICKED),
                   reinterpret_cast<LPARAM>(startOver));
    ::SendMessageA(results, WM_COMMAND, MAKEWPARAM(IDC_TEST_START_OVER, 1), 0);  // as an accelerator
    // A message still reaches a disabled button, with its window or without.
    ::EnableWindow(startOver, FALSE);
    for (LPARAM control : {reinterpret_cast<LPARAM>(startOver), LPARAM{0}})
        ::SendMessageA(results, WM_COMMAND, MAKEWPARAM(IDC_TEST_START_OVER, BN_CLICKED), control);
    PumpPending();
    EXPECT_TRUE(ShowsPage(kDllsTab, 1));

    ::EnableWindow(startOver, TRUE);
    Click(results, IDC_TEST_START_OVER);
    EXPECT_TRUE(ShowsPage(kDllsTab, 0));
}

TEST_F(TabViewTest, OnlyAFlagOfExactlyOneSkips)
{
    m_store.WriteProfileInt("Settings", "SkipDllPage1", 2);
    Build();
    ShowTab(View(), kDllsTab);
    PumpPending();
    EXPECT_TRUE(ShowsPage(kDllsTab, 0));
    EXPECT_TRUE(m_results->events.empty());
}

TEST_F(TabViewTest, NextWritesTheSkipFlagOnlyWhenTicked)
{
    Build();
    ShowTab(View(), kDllsTab);
    HWND intro = Page(kDllsTab, 0);
    Click(intro, IDC_NEXT);
    EXPECT_TRUE(ShowsPage(kDllsTab, 1));
    EXPECT_EQ(m_store.GetProfileInt("Settings", "SkipDllPage1", -1), -1);

    Click(Page(kDllsTab, 1), IDC_TEST_START_OVER);
    ::CheckDlgButton(intro, IDC_SKIP, BST_CHECKED);
    Click(intro, IDC_NEXT);
    EXPECT_TRUE(ShowsPage(kDllsTab, 1));
    EXPECT_EQ(m_store.GetProfileInt("Settings", "SkipDllPage1", -1), 1);
}

TEST_F(TabViewTest, ResultsSurviveALeaveAndReturnByTab)
{
    Build();
    ShowTab(View(), kDllsTab);
    Click(Page(kDllsTab, 0), IDC_NEXT);
    ASSERT_EQ(m_results->events.size(), 1u);

    ShowTab(View(), 0);
    EXPECT_TRUE(ShowsPage(0, 0));
    EXPECT_FALSE(::IsWindowVisible(Page(kDllsTab, 1)));
    ShowTab(View(), kDllsTab);
    EXPECT_TRUE(ShowsPage(kDllsTab, 1));
    EXPECT_EQ(m_results->events, (std::vector<std::string>{"activated"}));
}

TEST_F(TabViewTest, ArgumentsArriveBeforeActivationAndEmptySlotsAreIgnored)
{
    Build();
    ShowTab(View(), kDllsTab);
    ::PostMessageA(View().GetSafeHwnd(), UM_SHOWPAGE, 1, 42);
    PumpPending();
    EXPECT_EQ(m_results->events, (std::vector<std::string>{"argument 42", "activated"}));

    ::PostMessageA(View().GetSafeHwnd(), UM_SHOWPAGE, 3, 0);
    ::PostMessageA(View().GetSafeHwnd(), UM_SHOWPAGE, 99, 0);
    PumpPending();
    EXPECT_TRUE(ShowsPage(kDllsTab, 1));

    // A tab with no pages shows nothing and asks nothing.
    ShowTab(View(), 2);
    EXPECT_EQ(View().GetCurrentPage(), nullptr);
    ::PostMessageA(View().GetSafeHwnd(), UM_SHOWPAGE, 0, 0);
    PumpPending();
    EXPECT_EQ(View().GetCurrentPage(), nullptr);
}

TEST_F(TabViewTest, ResizeTellsEveryPageItsNewSize)
{
    Build();
    ::SetWindowPos(m_host->GetSafeHwnd(), nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
    PumpPending();
    RECT client{};
    ::GetClientRect(View().GetSafeHwnd(), &client);
    std::string expected = std::to_string(client.right - 24) + "x" + std::to_string(client.bottom - 48);
    auto* first = static_cast<RecordingPage*>(View().GetPage(0, 0));
    ASSERT_FALSE(first->sizes.empty());
    EXPECT_EQ(first->sizes.back(), expected);
    ASSERT_FALSE(m_results->sizes.empty());
    EXPECT_EQ(m_results->sizes.back(), expected);
    EXPECT_TRUE(m_results->events.empty());

    RECT tab{};
    ::GetWindowRect(View().GetTabControl(), &tab);
    ::MapWindowPoints(nullptr, View().GetSafeHwnd(), reinterpret_cast<POINT*>(&tab), 2);
    EXPECT_EQ(tab.left, 8);
    EXPECT_EQ(tab.top, 2);
    EXPECT_EQ(tab.right - tab.left, client.right - 16);
    EXPECT_EQ(tab.bottom - tab.top, client.bottom - 6);
}

TEST_F(TabViewTest, EscapeIsSwallowedAndEnterPressesTheDefaultButton)
{
    Build();
    ShowTab(View(), kDllsTab);
    EXPECT_TRUE(Key(VK_ESCAPE));
    EXPECT_TRUE(ShowsPage(kDllsTab, 0));
    EXPECT_TRUE(::IsWindow(Page(kDllsTab, 0)));

    EXPECT_FALSE(Key('A'));
    // An open drop-down list keeps both, to close itself.
    HWND combo = ::CreateWindowA("ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0, 0, 80, 80,
                                 Page(kDllsTab, 0), nullptr, nullptr, nullptr);
    ::SetFocus(combo);
    ::SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_FALSE(Key(VK_RETURN));
    EXPECT_FALSE(Key(VK_ESCAPE));
    ::DestroyWindow(combo);
    EXPECT_TRUE(Key(VK_RETURN));
    EXPECT_TRUE(ShowsPage(kDllsTab, 1));
    EXPECT_EQ(m_results->events, (std::vector<std::string>{"activated"}));
}

TEST_F(TabViewTest, EnterAndTabDoNothingWhileTheMainWindowIsDisabled)
{
    Build();
    ShowTab(View(), kDllsTab);
    HWND intro = Page(kDllsTab, 0);
    ::SetFocus(::GetDlgItem(intro, IDC_MORE_HELP));
    ::EnableWindow(m_host->GetSafeHwnd(), FALSE);
    EXPECT_TRUE(Key(VK_RETURN));
    EXPECT_TRUE(Key(VK_TAB));
    EXPECT_TRUE(ShowsPage(kDllsTab, 0));
    EXPECT_TRUE(m_results->events.empty());
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(intro, IDC_MORE_HELP));
    ::EnableWindow(m_host->GetSafeHwnd(), TRUE);
}

TEST_F(TabViewTest, TabMovesThroughThePageAndShiftTabBack)
{
    Build();
    ShowTab(View(), kDllsTab);
    HWND intro = Page(kDllsTab, 0);
    HWND skip = ::GetDlgItem(intro, IDC_SKIP), help = ::GetDlgItem(intro, IDC_MORE_HELP),
         next = ::GetDlgItem(intro, IDC_NEXT);
    ::SetFocus(skip);
    EXPECT_TRUE(Key(VK_TAB));
    EXPECT_EQ(::GetFocus(), help);
    EXPECT_TRUE(Key(VK_TAB));
    EXPECT_EQ(::GetFocus(), next);

    INPUT shift{};
    shift.type = INPUT_KEYBOARD;
    shift.ki.wVk = VK_SHIFT;
    ::SendInput(1, &shift, sizeof shift);
    EXPECT_TRUE(Key(VK_TAB));
    shift.ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(1, &shift, sizeof shift);
    PumpPending();
    EXPECT_EQ(::GetFocus(), help);

    // Enter still acts as Next, though the focused help button looks the default now.
    bool helped = false;
    ScopedOverride<decltype(framework::Seams::shellExecute)> openHelp(
        framework::GetSeams().shellExecute, [&](HWND, const char*, const char*, const char*, const char*, int) {
            helped = true;
            return INT_PTR{42};
        });
    EXPECT_TRUE(Key(VK_RETURN));
    EXPECT_FALSE(helped);
    EXPECT_TRUE(ShowsPage(kDllsTab, 1));
}
