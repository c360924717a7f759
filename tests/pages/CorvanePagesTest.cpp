#include "app/Tabs.h"
#include "framework/Seams.h"
#include "framework/Text.h"
#include "pages/Help.h"
#include "pages/TestPages.h"
#include "resources/resource.h"
#include "working/WorkingDlg.h"

#include "support/Messages.h"
#include "support/Override.h"
#include "support/Program.h"
#include "support/UserActions.h"
#include "support/WindowWatch.h"

#include <algorithm>

#include <commctrl.h>

using framework::GetSeams;
using framework::Seams;

namespace {

class CorvanePagesTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        Start();
    }

    std::string Text(HWND page, int id) { return framework::GetWindowTextString(::GetDlgItem(page, id)); }

    ScopedOverride<decltype(Seams::shellExecute)> m_help{
        GetSeams().shellExecute, [this](HWND, const char*, const char* file, const char*, const char*, int) {
            m_helpCalls.emplace_back(file);
            return INT_PTR{42};
        }};
    std::vector<std::string> m_helpCalls;
};

}  // namespace

TEST_F(CorvanePagesTest, ElevenTabsInOrderWithTheWelcomePageFirst)
{
    HWND tabs = View().GetTabControl();
    std::vector<std::string> captions;
    for (int i = 0; i < View().GetTabCount(); ++i) {
        char text[64] = "";
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        captions.push_back(text);
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"Welcome", "Disk Info", "History", "Reports", "Start Menu",
                                                  "Internet", "DLLs", "Search", "Speed", "Tools", " Tips"}));
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(tabs, WM_GETFONT, 0, 0)), ::GetStockObject(ANSI_VAR_FONT));

    HWND welcome = View().GetPage(kWelcomeTab, 0)->GetSafeHwnd();
    EXPECT_EQ(View().GetCurrentPage(), View().GetPage(kWelcomeTab, 0));
    EXPECT_TRUE(::IsWindowVisible(welcome));
    EXPECT_EQ(Text(welcome, IDC_TITLE), "Welcome to Corvane");
    LOGFONTA title{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendDlgItemMessageA(welcome, IDC_TITLE, WM_GETFONT, 0, 0)), sizeof title,
                 &title);
    EXPECT_STREQ(title.lfFaceName, "Arial Bold");
}

TEST_F(CorvanePagesTest, BackButtonsReadAsUtf8)
{
    // The manifest's code page: the ANSI calls carry UTF-8.
    EXPECT_EQ(::GetACP(), 65001u);
    EXPECT_EQ(Text(View().GetPage(kSearchTab, 1)->GetSafeHwnd(), IDC_START_OVER), "« &Start Over...");
    EXPECT_EQ(Text(View().GetPage(kDiskInfoTab, 1)->GetSafeHwnd(), IDC_INTRO), "« &Intro...");
}

TEST_F(CorvanePagesTest, WelcomeCheckBoxStoresTheSplashChoiceAtOnce)
{
    HWND welcome = View().GetPage(kWelcomeTab, 0)->GetSafeHwnd();
    HWND box = ::GetDlgItem(welcome, IDC_SHOW_SPLASH);
    EXPECT_EQ(Text(welcome, IDC_SHOW_SPLASH), "Show Splash Screen at Startup");
    // The setting was 0 when the page was built.
    EXPECT_EQ(::SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    Press(box);
    EXPECT_EQ(m_store.GetProfileInt("Settings", "ShowSplashScreen", -1), 1);
    Press(box);
    EXPECT_EQ(m_store.GetProfileInt("Settings", "ShowSplashScreen", -1), 0);
}

TEST_F(CorvanePagesTest, IntroductionPagesCarryTheirTitlesSkipBoxesAndHelpTopics)
{
    struct Intro {
        int tab;
        const char* title;
        bool skipBox;
        const char* helpKey;
    };
    const Intro intros[] = {
        {kDiskInfoTab, "Disk Info", true, "Disk Info Page"}, {kHistoryTab, "History", true, "History Page"},
        {kReportsTab, "Reports", true, "Reports Page"},      {kStartMenuTab, "Start Menu", false, "Start Menu Page"},
        {kInternetTab, "Internet", true, "Internet Page"},   {kDllsTab, "DynaLink Libraries (DLLs)", true, "DLLs Page"},
        {kSearchTab, "VozidEruded", true, "Search Page"},    {kSpeedTab, "Speed", false, "Speed Page"},
    };
    for (const Intro& intro : intros) {
        ShowTab(View(), intro.tab);
        HWND page = Page(intro.tab, 0);
        EXPECT_EQ(Text(page, IDC_TITLE), intro.title);
        EXPECT_EQ(Text(page, IDC_PROBLEM_HEADING), "The Problem:");
        EXPECT_EQ(Text(page, IDC_HELPS_HEADING), "How Corvane Helps:");
        EXPECT_EQ(::GetDlgItem(page, IDC_SKIP) != nullptr, intro.skipBox) << intro.title;
        if (intro.skipBox) {
            EXPECT_EQ(Text(page, IDC_SKIP), "Skip this introduction next time");
        }
        EXPECT_EQ(Text(page, IDC_NEXT), "&Next...");
        EXPECT_EQ((::GetWindowLongA(::GetDlgItem(page, IDC_NEXT), GWL_STYLE) & 0xFF), BS_DEFPUSHBUTTON);
        Press(page, IDC_MORE_HELP);
        ASSERT_FALSE(m_helpCalls.empty());
        EXPECT_EQ(m_helpCalls.back(), HelpPagePath(intro.helpKey));
    }
    EXPECT_EQ(Text(View().GetPage(kStartMenuTab, 0)->GetSafeHwnd(), IDC_CHECK_DESKTOP),
              "Check all Desktop shortcuts too.");
}

TEST_F(CorvanePagesTest, EnterDuringALongOperationStartsNothing)
{
    ShowTab(View(), kDllsTab);
    HWND intro = View().GetPage(kDllsTab, 0)->GetSafeHwnd();
    ASSERT_TRUE(::IsWindowVisible(intro));
    // Next would store the ticked box: the sign that Enter pressed it.
    ::CheckDlgButton(intro, IDC_SKIP, BST_CHECKED);
    WindowWatch watch;
    {
        WorkingSession session(intro, "Initializing...");
        ::SetForegroundWindow(session.Dialog().GetSafeHwnd());
        INPUT keys[2]{};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = VK_RETURN;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, keys, sizeof(INPUT));
        DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < 300)
            ASSERT_TRUE(session.Sink().Step("working"));
    }
    PumpPending();
    ASSERT_NE(std::find(watch.KeysDown().begin(), watch.KeysDown().end(), WPARAM{VK_RETURN}), watch.KeysDown().end());
    EXPECT_EQ(m_store.GetProfileInt("Settings", "SkipDllPage1", -1), -1);
    EXPECT_EQ(View().GetCurrentPage(), View().GetPage(kDllsTab, 0));
    EXPECT_TRUE(::IsWindowEnabled(m_app->GetMainFrame()->GetSafeHwnd()));

    // Once the operation is over, Enter presses Next again.
    MSG enter{intro, WM_KEYDOWN, VK_RETURN, 0};
    EXPECT_TRUE(View().PreTranslateKeyDown(enter));
    EXPECT_EQ(m_store.GetProfileInt("Settings", "SkipDllPage1", -1), 1);
}

TEST_F(CorvanePagesTest, NoPageCoversATabWhicheverRowIsInFront)
{
    HWND tabs = View().GetTabControl();
    ASSERT_GT(::SendMessageA(tabs, TCM_GETROWCOUNT, 0, 0), 1);
    for (int tab = 0; tab < View().GetTabCount(); ++tab) {
        ShowTab(View(), tab);
        RECT page{};
        ::GetWindowRect(View().GetCurrentPage()->GetSafeHwnd(), &page);
        ::MapWindowPoints(nullptr, tabs, reinterpret_cast<POINT*>(&page), 2);
        for (int other = 0; other < View().GetTabCount(); ++other) {
            RECT item{};
            ::SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(other), reinterpret_cast<LPARAM>(&item));
            EXPECT_GE(page.top, item.bottom) << tab << " covers " << other;
        }
    }
}

TEST_F(CorvanePagesTest, TheHourglassStaysForAWholeOperationExceptOverStop)
{
    HWND frame = m_app->GetMainFrame()->GetSafeHwnd();
    HCURSOR wait = ::LoadCursorA(nullptr, IDC_WAIT);
    auto cursorAt = [](HWND window, int x, int y) {
        POINT point{x, y};
        ::ClientToScreen(window, &point);
        ::SetCursorPos(point.x, point.y);
        PumpPending();
        return ::GetCursor();
    };
    {
        WorkingSession session(View().GetCurrentPage()->GetSafeHwnd(), "Initializing...");
        HWND dialog = session.Dialog().GetSafeHwnd();
        EXPECT_EQ(cursorAt(frame, 30, 60), wait);
        EXPECT_EQ(cursorAt(dialog, 5, 5), wait);
        EXPECT_NE(cursorAt(::GetDlgItem(dialog, IDC_STOP), 5, 5), wait);
        EXPECT_EQ(cursorAt(frame, 40, 70), wait);
    }
    EXPECT_NE(cursorAt(frame, 30, 60), wait);
}
