#include "app/SplashWnd.h"

#include "framework/Dpi.h"
#include "framework/Handle.h"
#include "framework/Win32.h"
#include "pages/Picture.h"
#include "resources/resource.h"

namespace {

constexpr int kMargin = 8;          // 96-DPI pixels
constexpr int kPictureWidth = 206;  // of the 256-colour picture at 100%

}  // namespace

INT_PTR CSplashWnd::DoModal() noexcept
{
    return Dialog::DoModal(IDD_SPLASH, nullptr);
}

BOOL CSplashWnd::OnInitDialog()
{
    Dialog::OnInitDialog();
    FitAroundPictures();
    ::SetTimer(m_hWnd, kTimerId, kShowMilliseconds, nullptr);
    return TRUE;
}

LRESULT CSplashWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_TIMER:
        if (wParam == kTimerId) {
            ::KillTimer(m_hWnd, kTimerId);
            EndDialog(0);
            return TRUE;
        }
        break;
    case WM_PAINT: {
        framework::PaintDc dc(m_hWnd);
        UINT dpi = framework::WindowDpi(m_hWnd);
        int margin = framework::ScaleToDpi(kMargin, dpi);
        DrawDIBPicture(dc.get(), margin, margin, framework::ScaledBitmapId(IDB_SPLASH256, dpi));
        return TRUE;
    }
    }
    return Dialog::HandleMessage(msg, wParam, lParam);
}

// Lays the window out in pixels around its two pictures, whatever the dialog
// font, and centres it on the desktop.
void CSplashWnd::FitAroundPictures()
{
    HWND picture = ::GetDlgItem(m_hWnd, IDC_SPLASH_PICTURE);
    framework::ShowScaledPicture(picture, IDB_SPLASH16, m_picture);
    RECT pictureRect{};
    ::GetWindowRect(picture, &pictureRect);
    SIZE pictureSize = framework::RectSize(pictureRect);
    UINT dpi = framework::WindowDpi(m_hWnd);
    int margin = framework::ScaleToDpi(kMargin, dpi);
    int left = margin + kPictureWidth * framework::PictureScale(dpi) / 100 + margin;
    ::SetWindowPos(picture, nullptr, left, margin, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    RECT window{0, 0, left + pictureSize.cx + margin, margin + pictureSize.cy + margin};
    ::AdjustWindowRectEx(&window, static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)));
    framework::CenterWindow(m_hWnd, framework::WorkArea(), framework::RectSize(window));
}
