#include "working/WorkingDlg.h"

#include "framework/Application.h"
#include "framework/Clock.h"
#include "framework/Dpi.h"
#include "framework/Handle.h"
#include "framework/Win32.h"
#include "resources/resource.h"

#include <algorithm>
#include <array>

namespace {

// Shared by every Working dialog for the life of the process, so that one
// operation's animation carries on where the previous one stopped.
struct Animation {
    std::array<framework::GdiObject<HBITMAP>, CWorkingDlg::kFrameCount> frames;
    int scale = 0;  // of the frames loaded; 0: none yet
    int frame = 0;
    DWORD lastFrameTick = 0;
    DWORD lastTextTick = 0;

    // The frames drawn nearest the dialog's DPI.
    void Load(UINT dpi)
    {
        if (scale == framework::PictureScale(dpi))
            return;
        for (size_t i = 0; i < frames.size(); ++i)
            frames[i] = framework::LoadScaledBitmap(IDB_WORKING0 + static_cast<UINT>(i), dpi);
        scale = framework::PictureScale(dpi);
    }
    bool IsFrame(HGDIOBJ image) const
    {
        return std::ranges::any_of(frames, [image](const auto& bitmap) { return bitmap.get() == image; });
    }
};

Animation& SharedAnimation()
{
    static Animation animation;
    return animation;
}

void ShowFrame(HWND dialog, const Animation& animation)
{
    auto previous = reinterpret_cast<HGDIOBJ>(
        ::SendDlgItemMessageA(dialog, IDC_WORKING_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                              reinterpret_cast<LPARAM>(animation.frames[animation.frame].get())));
    // The picture the dialog opened with was loaded by the control for us.
    if (previous && !animation.IsFrame(previous))
        ::DeleteObject(previous);
}

}  // namespace

int CWorkingDlg::FrameOnShow() noexcept
{
    return SharedAnimation().frame;
}

CWorkingDlg::CWorkingDlg()
{
    OnControl(IDC_STOP, BN_CLICKED, [this] { m_bStop = true; });
}

bool CWorkingDlg::Create(HWND page)
{
    return Dialog::Create(IDD_WORKING, page);
}

BOOL CWorkingDlg::OnInitDialog()
{
    Dialog::OnInitDialog();
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    RECT ownerRect{};
    if (!owner || !::GetWindowRect(owner, &ownerRect))
        ownerRect = framework::WorkArea();
    Animation& animation = SharedAnimation();
    animation.Load(framework::WindowDpi(m_hWnd));
    ShowFrame(m_hWnd, animation);
    framework::CenterWindow(m_hWnd, ownerRect);
    ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    m_bStop = false;
    return TRUE;
}

LRESULT CWorkingDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Stop is the one thing that can be used while the work runs.
    if (msg == WM_SETCURSOR && reinterpret_cast<HWND>(wParam) != ::GetDlgItem(m_hWnd, IDC_STOP) &&
        framework::WaitCursor::Restore())
        return TRUE;
    return Dialog::HandleMessage(msg, wParam, lParam);
}

bool CWorkingDlg::Advance(const char* text, bool phase)
{
    Animation& animation = SharedAnimation();
    animation.Load(framework::WindowDpi(m_hWnd));
    if (m_bStop)
        return false;

    DWORD now = framework::GetClock().tickCount();
    if (now - animation.lastFrameTick > kFrameMilliseconds) {
        animation.frame = (animation.frame + 1) % kFrameCount;
        animation.lastFrameTick = now;
        ShowFrame(m_hWnd, animation);
    }
    if (text && (phase || now - animation.lastTextTick > kTextMilliseconds)) {
        HWND status = ::GetDlgItem(m_hWnd, IDC_STATUS);
        ::SetWindowTextA(status, text);
        ::UpdateWindow(status);
        animation.lastTextTick = now;
    }
    if (!m_pumped || now - m_lastPump >= kPumpMilliseconds) {
        m_pumped = true;
        m_lastPump = now;
        PumpMessages();
    }
    // A Stop pressed while the work ran arrives in the pump: the work must
    // not go on into its next part.
    return !m_bStop;
}

bool CWorkingDlg::WantsText() const
{
    return framework::GetClock().tickCount() - SharedAnimation().lastTextTick > kTextMilliseconds;
}

void CWorkingDlg::PumpMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The main loop must still see it once the operation returns.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        // Escape stops the work wherever the focus is; the pages never see it.
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            OnCancel();
            continue;
        }
        framework::Application* app = framework::Application::Current();
        if (!app || !app->PreTranslateMessage(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

WorkingSession::WorkingSession(HWND page, const char* firstText) : m_mainWindow(::GetAncestor(page, GA_ROOT))
{
    m_wasEnabled = !::EnableWindow(m_mainWindow, FALSE);
    m_dialog.Create(page);
    ::ShowWindow(m_dialog.GetSafeHwnd(), SW_SHOW);
    m_dialog.StepPhase(firstText);
}

WorkingSession::~WorkingSession()
{
    if (m_wasEnabled)
        ::EnableWindow(m_mainWindow, TRUE);
    ::ShowWindow(m_dialog.GetSafeHwnd(), SW_HIDE);
}
