// The window every long operation shows: an animation, a status text and Stop.
#pragma once

#include "framework/Application.h"
#include "framework/Window.h"
#include "working/ProgressSink.h"

class CWorkingDlg : public framework::Dialog, public ProgressSink {
public:
    static constexpr int kFrameCount = 7;
    static constexpr DWORD kFrameMilliseconds = 120;
    static constexpr DWORD kTextMilliseconds = 75;
    // Each look at the message queue costs a round trip to the window
    // system, so a walk that steps per file pumps only this often.
    static constexpr DWORD kPumpMilliseconds = 4;

    CWorkingDlg();
    // A pop-up owned by the page's top-level window.
    bool Create(HWND page);
    bool Step(const char* text) override { return Advance(text, false); }
    bool StepPhase(const char* text) override { return Advance(text, true); }
    bool WantsText() const override;
    // The animation frame on show, 0 to 6, shared by every Working dialog.
    static int FrameOnShow() noexcept;

    bool m_bStop = false;

protected:
    BOOL OnInitDialog() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Enter never ends the dialog. Escape, and a close asked of the dialog
    // (as the main window does when it is closed during the work), press Stop.
    void OnOK() override {}
    void OnCancel() override { m_bStop = true; }

private:
    bool Advance(const char* text, bool phase);
    void PumpMessages();

    DWORD m_lastPump = 0;
    bool m_pumped = false;
};

// Runs a long operation's frame around its work: wait cursor, main window
// disabled, the Working dialog shown; all undone in reverse when it ends.
class WorkingSession : framework::NonCopyable {
public:
    // page: the page that runs the operation; firstText: the first Step's text.
    WorkingSession(HWND page, const char* firstText);
    ~WorkingSession();

    ProgressSink& Sink() noexcept { return m_dialog; }
    CWorkingDlg& Dialog() noexcept { return m_dialog; }

private:
    CWorkingDlg m_dialog;
    HWND m_mainWindow;
    bool m_wasEnabled = true;  // a window disabled by someone else stays so
    framework::WaitCursor m_waitCursor;
};
