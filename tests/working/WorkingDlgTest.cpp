#include "working/WorkingDlg.h"

#include "framework/Clock.h"
#include "framework/Text.h"
#include "resources/resource.h"

#include "support/Messages.h"
#include "support/Override.h"
#include "support/UserActions.h"

#include <gtest/gtest.h>

namespace {

// A main window with one child standing in for the page that runs the work.
class WorkingDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_frame = ::CreateWindowExA(0, "STATIC", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 620, 400, nullptr,
                                    nullptr, nullptr, nullptr);
        m_page = ::CreateWindowExA(WS_EX_CONTROLPARENT, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 600, 360, m_frame,
                                   nullptr, nullptr, nullptr);
        TakeQuitMessage();
    }
    void TearDown() override
    {
        ::DestroyWindow(m_frame);
        TakeQuitMessage();
    }

    static std::string Status(const CWorkingDlg& dialog)
    {
        return framework::GetWindowTextString(::GetDlgItem(dialog.GetSafeHwnd(), IDC_STATUS));
    }

    // Far beyond every earlier test's time: the throttles' marks are the process's.
    static DWORD FreshTime()
    {
        static DWORD epoch = 0;
        return epoch += 1000000;
    }

    DWORD m_now = FreshTime();
    ScopedOverride<decltype(framework::Clock::tickCount)> m_clock{framework::GetClock().tickCount,
                                                                  [this] { return m_now; }};
    HWND m_frame = nullptr;
    HWND m_page = nullptr;
};

}  // namespace

// The frame on show is the process's: it starts at 0, so the first step of
// the process shows frame 1.
TEST_F(WorkingDlgTest, StepsShowTheNextFrameAndTextsFollowTheThrottles)
{
    CWorkingDlg dialog;
    ASSERT_TRUE(dialog.Create(m_page));
    EXPECT_EQ(::GetWindow(dialog.GetSafeHwnd(), GW_OWNER), m_frame);
    EXPECT_TRUE(::IsWindowVisible(dialog.GetSafeHwnd()));
    auto after = [first = CWorkingDlg::FrameOnShow()](int steps) { return (first + steps) % CWorkingDlg::kFrameCount; };

    EXPECT_TRUE(dialog.Step("Initializing..."));
    EXPECT_EQ(CWorkingDlg::FrameOnShow(), after(1));
    EXPECT_EQ(Status(dialog), "Initializing...");

    m_now += 75;  // not more than 75 ms: the text is dropped
    EXPECT_FALSE(dialog.WantsText());
    EXPECT_TRUE(dialog.Step("dropped"));
    EXPECT_EQ(Status(dialog), "Initializing...");
    m_now += 1;
    EXPECT_TRUE(dialog.WantsText());
    EXPECT_TRUE(dialog.Step("1 files found\nChecking C:\\..."));
    EXPECT_EQ(Status(dialog), "1 files found\nChecking C:\\...");
    EXPECT_EQ(CWorkingDlg::FrameOnShow(), after(1));

    m_now += 44;  // 120 ms since the frame changed: not yet
    dialog.Step("x");
    EXPECT_EQ(CWorkingDlg::FrameOnShow(), after(1));
    m_now += 1;
    dialog.Step("x");
    EXPECT_EQ(CWorkingDlg::FrameOnShow(), after(2));

    // Seven frames make the round.
    for (int i = 0; i < CWorkingDlg::kFrameCount; ++i) {
        m_now += 121;
        dialog.Step("x");
    }
    EXPECT_EQ(CWorkingDlg::FrameOnShow(), after(2));
}

TEST_F(WorkingDlgTest, ANewPhaseIsShownAtOnceAndAStepWithoutTextKeepsTheLast)
{
    WorkingSession session(m_page, "Initializing...");
    m_now += 1;
    EXPECT_TRUE(session.Sink().StepPhase("C:\\ - Creating Test File..."));
    EXPECT_EQ(Status(session.Dialog()), "C:\\ - Creating Test File...");
    m_now += 1;
    session.Sink().Step("1 files, 0.00 megabytes analyzed");
    EXPECT_EQ(Status(session.Dialog()), "C:\\ - Creating Test File...");
    m_now += 100;
    EXPECT_TRUE(session.Sink().Step(nullptr));
    EXPECT_EQ(Status(session.Dialog()), "C:\\ - Creating Test File...");

    // A second operation at once still shows its first text.
    WorkingSession next(m_page, "Initializing...");
    EXPECT_EQ(Status(next.Dialog()), "Initializing...");
}

TEST_F(WorkingDlgTest, NextOperationStartsWithTheFrameTheLastOneLeft)
{
    int left = CWorkingDlg::FrameOnShow();
    m_now += 1000;
    CWorkingDlg dialog;
    ASSERT_TRUE(dialog.Create(m_page));
    dialog.Step("again");
    EXPECT_EQ(CWorkingDlg::FrameOnShow(), (left + 1) % CWorkingDlg::kFrameCount);
}

TEST_F(WorkingDlgTest, AfterStopTheNextStepEndsTheWorkAndTheWindowStays)
{
    CWorkingDlg dialog;
    ASSERT_TRUE(dialog.Create(m_page));
    EXPECT_FALSE(dialog.m_bStop);
    EXPECT_TRUE(dialog.Step("working"));
    HWND stop = ::GetDlgItem(dialog.GetSafeHwnd(), IDC_STOP);
    EXPECT_EQ(framework::GetWindowTextString(stop), "&Stop...");
    Press(stop);
    EXPECT_TRUE(dialog.m_bStop);
    int frame = CWorkingDlg::FrameOnShow();
    m_now += 500;
    EXPECT_FALSE(dialog.Step("after stop"));
    EXPECT_FALSE(dialog.Step("after stop"));
    EXPECT_EQ(CWorkingDlg::FrameOnShow(), frame);
    EXPECT_NE(Status(dialog), "after stop");
    EXPECT_TRUE(::IsWindowVisible(dialog.GetSafeHwnd()));
}

TEST_F(WorkingDlgTest, AStopClickedWhileTheWorkRanEndsItAtTheNextStep)
{
    CWorkingDlg dialog;
    ASSERT_TRUE(dialog.Create(m_page));
    EXPECT_TRUE(dialog.Step("Sequential reads"));
    // Queued during work that does not pump, such as a five-second disk test.
    HWND stop = ::GetDlgItem(dialog.GetSafeHwnd(), IDC_STOP);
    ::PostMessageA(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_STOP, BN_CLICKED), reinterpret_cast<LPARAM>(stop));
    m_now += 5000;
    EXPECT_FALSE(dialog.Step("Random reads"));

    // Escape stops too, wherever the keyboard's focus is.
    CWorkingDlg second;
    ASSERT_TRUE(second.Create(m_page));
    EXPECT_TRUE(second.Step("Sequential reads"));
    ::PostMessageA(m_page, WM_KEYDOWN, VK_ESCAPE, 0);
    m_now += 5000;
    EXPECT_FALSE(second.Step("Random reads"));
}

TEST_F(WorkingDlgTest, PumpsOnlyEveryFewMillisecondsAndKeepsAQuitForTheMainLoop)
{
    CWorkingDlg dialog;
    ASSERT_TRUE(dialog.Create(m_page));
    dialog.Step("first");
    PumpPending();

    // Closing a window by a posted message shows when the queue was pumped.
    HWND victim = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ::PostMessageA(victim, WM_CLOSE, 0, 0);
    dialog.Step("same tick");
    EXPECT_TRUE(::IsWindow(victim));
    m_now += CWorkingDlg::kPumpMilliseconds;
    dialog.Step("later");
    EXPECT_FALSE(::IsWindow(victim));

    ::PostQuitMessage(3);
    m_now += CWorkingDlg::kPumpMilliseconds;
    EXPECT_TRUE(dialog.Step("quit arrives"));
    MSG msg{};
    EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(WorkingDlgTest, SessionDisablesTheMainWindowAndPutsEverythingBack)
{
    HWND dialogWindow = nullptr;
    {
        m_now += 1000;
        WorkingSession session(m_page, "Initializing...");
        dialogWindow = session.Dialog().GetSafeHwnd();
        EXPECT_FALSE(::IsWindowEnabled(m_frame));
        EXPECT_TRUE(::IsWindowVisible(dialogWindow));
        EXPECT_EQ(Status(session.Dialog()), "Initializing...");
        EXPECT_TRUE(session.Sink().Step("more"));
    }
    EXPECT_TRUE(::IsWindowEnabled(m_frame));
    EXPECT_FALSE(::IsWindow(dialogWindow));

    // A window that was already disabled stays disabled.
    ::EnableWindow(m_frame, FALSE);
    {
        WorkingSession nested(m_page, "Initializing...");
    }
    EXPECT_FALSE(::IsWindowEnabled(m_frame));
}
