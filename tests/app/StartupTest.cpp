#include "app/AboutDlg.h"
#include "app/CorvaneApp.h"
#include "disk/History.h"
#include "framework/Clock.h"
#include "framework/Seams.h"
#include "framework/Text.h"
#include "pages/Help.h"
#include "resources/resource.h"

#include "support/Messages.h"
#include "support/Override.h"
#include "support/Program.h"
#include "support/Registry.h"
#include "support/WindowWatch.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using framework::GetSeams;
using framework::Seams;

namespace {

const char* const kAppKey = "Software\\Halvett Software\\Corvane";

class StartupTest : public SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        TakeQuitMessage();
    }
    void TearDown() override
    {
        TakeQuitMessage();
        SettingsTest::TearDown();
    }

    static void SetSplash(int show)
    {
        SettingsStore("Halvett Software", "Corvane").WriteProfileInt("Settings", "ShowSplashScreen", show);
    }

    static std::string StatusText(HWND frame)
    {
        HWND bar = ::FindWindowExA(frame, nullptr, STATUSCLASSNAMEA, nullptr);
        char text[256] = "";
        ::SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
        return text;
    }

    static std::string MenuText(HMENU menu, UINT position)
    {
        char text[128] = "";
        ::GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
        return text;
    }

    ScopedOverride<decltype(Seams::shellExecute)> m_shell{
        GetSeams().shellExecute, [this](HWND, const char* verb, const char* file, const char*, const char*, int show) {
            m_shellCalls.push_back(std::string(verb) + "|" + file + "|" + std::to_string(show));
            return INT_PTR{42};
        }};
    std::vector<std::string> m_shellCalls;
};

}  // namespace

TEST_F(StartupTest, MainWindowComesUpAtOnceWhenTheSplashIsOff)
{
    SetSplash(0);
    WindowWatch watch;
    CCorvaneApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_TRUE(watch.Dialogs().empty());
    EXPECT_TRUE(app.m_bStarted);

    HWND frame = app.GetMainFrame()->GetSafeHwnd();
    EXPECT_TRUE(::IsWindowVisible(frame));
    EXPECT_EQ(framework::GetWindowTextString(frame), "Corvane");
    RECT rect{}, desktop{};
    ::GetWindowRect(frame, &rect);
    // Two rows of tabs take 10 pixels more than 400 from the pages.
    EXPECT_EQ(rect.right - rect.left, 620);
    EXPECT_EQ(rect.bottom - rect.top, 410);
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &desktop, 0);
    EXPECT_LE(std::abs((rect.left + rect.right) - (desktop.left + desktop.right)), 1);
    EXPECT_LE(std::abs((rect.top + rect.bottom) - (desktop.top + desktop.bottom)), 1);

    LONG style = ::GetWindowLongA(frame, GWL_STYLE);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_FALSE(::GetWindowLongA(frame, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    MINMAXINFO limits{};
    ::SendMessageA(frame, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 620);
    EXPECT_EQ(limits.ptMinTrackSize.y, 410);
    EXPECT_EQ(StatusText(frame), "Corvane v2.0.2");

    ::DestroyWindow(frame);
    EXPECT_TRUE(TakeQuitMessage());
}

// Two rows of tabs, or a wider dialog font, need more room than 620 x 400.
TEST_F(StartupTest, TheWindowGrowsJustEnoughForEveryPageBelowTheTabs)
{
    SetSplash(0);
    CCorvaneApp app;
    ASSERT_TRUE(app.InitInstance());
    CTabView& view = TabViewOf(app);
    HWND tabs = view.GetTabControl();
    RECT area{}, reach{};
    ::GetClientRect(tabs, &area);
    ::SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (int tab = 0; tab < view.GetTabCount(); ++tab) {
        ShowTab(view, tab);
        RECT page{};
        ::GetWindowRect(view.GetCurrentPage()->GetSafeHwnd(), &page);
        ::MapWindowPoints(nullptr, tabs, reinterpret_cast<POINT*>(&page), 2);
        reach.right = std::max(reach.right, page.right);
        reach.bottom = std::max(reach.bottom, page.bottom);
    }
    EXPECT_LE(reach.right, area.right);
    EXPECT_LE(reach.bottom, area.bottom);

    HWND frame = app.GetMainFrame()->GetSafeHwnd();
    RECT rect{};
    ::GetWindowRect(frame, &rect);
    EXPECT_TRUE(rect.right - rect.left == 620 || reach.right == area.right) << rect.right - rect.left;
    EXPECT_TRUE(rect.bottom - rect.top == 400 || reach.bottom == area.bottom) << rect.bottom - rect.top;
    MINMAXINFO limits{};
    ::SendMessageA(frame, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_GE(limits.ptMinTrackSize.x, rect.right - rect.left);
    EXPECT_GE(limits.ptMinTrackSize.y, rect.bottom - rect.top);
    ::DestroyWindow(frame);
}

TEST_F(StartupTest, SplashShowsBothPicturesForThreeSeconds)
{
    WindowWatch watch;
    bool wasVisible = false;
    RECT client{}, picture{};
    AfterDelay(300, [&] {
        ASSERT_EQ(watch.Dialogs().size(), 1u);
        HWND splash = watch.Dialogs()[0];
        wasVisible = ::IsWindowVisible(splash);
        ::GetClientRect(splash, &client);
        ::GetWindowRect(::GetDlgItem(splash, IDC_SPLASH_PICTURE), &picture);
        ::MapWindowPoints(nullptr, splash, reinterpret_cast<POINT*>(&picture), 2);
    });
    CCorvaneApp app;
    DWORD start = ::GetTickCount();
    ASSERT_TRUE(app.InitInstance());
    DWORD elapsed = ::GetTickCount() - start;

    EXPECT_TRUE(wasVisible);
    EXPECT_GE(elapsed, 2900u);
    EXPECT_LT(elapsed, 6000u);
    // The 256-colour picture at (8, 8), the 16-colour one to its right.
    EXPECT_EQ(picture.left, 8 + 206 + 8);
    EXPECT_EQ(picture.top, 8);
    EXPECT_EQ(client.right, picture.right + 8);
    EXPECT_EQ(client.bottom, 8 + 230 + 8);
    EXPECT_FALSE(::IsWindow(watch.Dialogs()[0]));
    EXPECT_TRUE(::IsWindowVisible(app.GetMainFrame()->GetSafeHwnd()));
    ::DestroyWindow(app.GetMainFrame()->GetSafeHwnd());
}

TEST_F(StartupTest, EscapeClosesTheSplashEarly)
{
    SetSplash(1);
    WindowWatch watch;
    AfterDelay(300, [&] {
        ASSERT_EQ(watch.Dialogs().size(), 1u);
        ::PostMessageA(watch.Dialogs()[0], WM_KEYDOWN, VK_ESCAPE, 0);
    });
    CCorvaneApp app;
    DWORD start = ::GetTickCount();
    ASSERT_TRUE(app.InitInstance());
    ASSERT_EQ(watch.Dialogs().size(), 1u);
    EXPECT_LT(watch.DestroyedAt(watch.Dialogs()[0]) - start, 1500u);
    ::DestroyWindow(app.GetMainFrame()->GetSafeHwnd());
}

TEST_F(StartupTest, MenusPromptsHelpAndTheAboutLink)
{
    SetSplash(0);
    CCorvaneApp app;
    ASSERT_TRUE(app.InitInstance());
    HWND frame = app.GetMainFrame()->GetSafeHwnd();

    HMENU menu = ::GetMenu(frame);
    ASSERT_EQ(::GetMenuItemCount(menu), 2);
    EXPECT_EQ(MenuText(menu, 0), "&File");
    EXPECT_EQ(MenuText(menu, 1), "&Help");
    HMENU file = ::GetSubMenu(menu, 0), help = ::GetSubMenu(menu, 1);
    ASSERT_EQ(::GetMenuItemCount(file), 4);
    EXPECT_EQ(MenuText(file, 0), "&Open Analysis...");
    EXPECT_EQ(MenuText(file, 1), "&Export List...");
    EXPECT_TRUE(::GetMenuState(file, 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(MenuText(file, 3), "E&xit...");
    // The Welcome page has no list to export.
    ::SendMessageA(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    EXPECT_TRUE(::GetMenuState(file, 1, MF_BYPOSITION) & MF_GRAYED);
    ASSERT_EQ(::GetMenuItemCount(help), 3);
    EXPECT_EQ(MenuText(help, 0), "&Help...");
    EXPECT_TRUE(::GetMenuState(help, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(MenuText(help, 2), "&About Corvane...");

    ::SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(ID_FILE_EXPORT, MF_STRING), reinterpret_cast<LPARAM>(file));
    EXPECT_EQ(StatusText(frame), "Save the list on show as a CSV file for a spreadsheet");
    ::SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(ID_APP_EXIT, MF_STRING), reinterpret_cast<LPARAM>(file));
    EXPECT_EQ(StatusText(frame), "Quit the application; prompts to save documents");
    ::SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(ID_APP_ABOUT, MF_STRING), reinterpret_cast<LPARAM>(help));
    EXPECT_EQ(StatusText(frame), "Display program information, version number and copyright");
    ::SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(StatusText(frame), "Corvane v2.0.2");

    ::SendMessageA(frame, WM_COMMAND, ID_HELP_FINDER, 0);
    ASSERT_FALSE(m_shellCalls.empty());
    EXPECT_EQ(m_shellCalls.back(), "open|" + HelpPagePath(nullptr) + "|" + std::to_string(SW_SHOWNORMAL));
    m_shellCalls.clear();

    // The About box: a press on the web-site line opens it, a press elsewhere does not.
    LOGFONTA linkFont{};
    AfterDelay(200, [&] {
        HWND about = ::FindWindowA("#32770", "About Corvane");
        EXPECT_TRUE(about);
        if (about) {
            HWND link = ::GetDlgItem(about, IDC_WEBSITE);
            ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(link, WM_GETFONT, 0, 0)), sizeof linkFont, &linkFont);
            RECT rect{};
            ::GetWindowRect(link, &rect);
            ::MapWindowPoints(nullptr, about, reinterpret_cast<POINT*>(&rect), 2);
            ::SendMessageA(about, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.left + 2, rect.top + 2));
            ::SendMessageA(about, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.left + 2, rect.bottom + 3));
        }
        // Closed whatever happened, so that a failure cannot hang the run.
        ::PostMessageA(about ? about : ::GetActiveWindow(), WM_COMMAND, IDOK, 0);
    });
    ::SendMessageA(frame, WM_COMMAND, ID_APP_ABOUT, 0);
    EXPECT_EQ(linkFont.lfHeight, 14);
    EXPECT_EQ(linkFont.lfWeight, FW_BOLD);
    EXPECT_TRUE(linkFont.lfUnderline);
    ASSERT_EQ(m_shellCalls.size(), 1u);
    EXPECT_EQ(m_shellCalls[0], std::string("open|") + CAboutDlg::kWebSite + "|" + std::to_string(SW_SHOWNORMAL));

    ::SendMessageA(frame, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_TRUE(TakeQuitMessage());
}

TEST_F(StartupTest, ControlKeysDoNothingAndClosingWritesNothing)
{
    SetSplash(0);
    WindowWatch watch;
    CCorvaneApp app;
    std::map<std::string, std::string> beforeClose;
    AfterDelay(300, [&] {
        HWND frame = app.GetMainFrame()->GetSafeHwnd();
        ::SetForegroundWindow(frame);
        std::vector<INPUT> keys;
        auto key = [&](WORD vk, DWORD flags) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = vk;
            input.ki.dwFlags = flags;
            keys.push_back(input);
        };
        for (WORD letter : {'N', 'O', 'P'}) {
            key(VK_CONTROL, 0);
            key(letter, 0);
            key(letter, KEYEVENTF_KEYUP);
            key(VK_CONTROL, KEYEVENTF_KEYUP);
        }
        ::SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
        AfterDelay(500, [&, frame] {
            beforeClose = ReadKeyTree(kAppKey);
            ::PostMessageA(frame, WM_CLOSE, 0, 0);
        });
    });
    EXPECT_EQ(app.Run(), 0);

    for (WPARAM letter : {'N', 'O', 'P'})
        EXPECT_NE(std::find(watch.KeysDown().begin(), watch.KeysDown().end(), letter), watch.KeysDown().end())
            << static_cast<char>(letter) << " never arrived";
    EXPECT_TRUE(watch.Dialogs().empty());
    EXPECT_FALSE(beforeClose.empty());
    EXPECT_EQ(ReadKeyTree(kAppKey), beforeClose);
}

TEST_F(StartupTest, EveryStartRecordsOneValuePerFixedDriveAndDay)
{
    SetSplash(0);
    constexpr std::int64_t kNoonOfDay20000 = 19999LL * 86400 + 43200;
    ScopedOverride<decltype(framework::Clock::unixTime)> clock(framework::GetClock().unixTime,
                                                               [] { return kNoonOfDay20000; });
    for (int start = 0; start < 2; ++start) {
        CCorvaneApp app;
        ASSERT_TRUE(app.InitInstance());
        ::DestroyWindow(app.GetMainFrame()->GetSafeHwnd());
        TakeQuitMessage();
    }
    SettingsStore store("Halvett Software", "Corvane");
    for (const char* root : {"C:\\", "E:\\"}) {
        std::string section = HistorySection(root);
        EXPECT_EQ(store.GetProfileInt(section.c_str(), "Count", 0), 1) << root;
        std::string value = store.GetProfileString(section.c_str(), "Snapshot0", "");
        std::optional<Snapshot> snapshot = ParseSnapshot(value);
        ASSERT_TRUE(snapshot) << value;
        EXPECT_EQ(snapshot->day, 20000);
        EXPECT_EQ(value, std::to_string(snapshot->percent) + ",20000");
    }
    EXPECT_EQ(ReadKeyTree(kAppKey).count("History-D:\\"), 0u);
}
