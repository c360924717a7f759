#include "pages/WelcomePage.h"

#include "settings/SettingsStore.h"
#include "framework/DataExchange.h"
#include "framework/Dpi.h"
#include "framework/Handle.h"
#include "pages/Picture.h"
#include "resources/resource.h"

WelcomePage::WelcomePage(const SettingsStore& settings) noexcept : Page(IDD_WELCOME, nullptr), m_settings(settings)
{
    OnControl(IDC_SHOW_SPLASH, BN_CLICKED, [this] { OnShowSplash(); });
}

BOOL WelcomePage::OnInitDialog()
{
    m_showSplash = m_settings.GetProfileInt("Settings", "ShowSplashScreen", 1);
    return Page::OnInitDialog();
}

void WelcomePage::DoDataExchange(framework::DataExchange& dx)
{
    dx.Check(IDC_SHOW_SPLASH, m_showSplash);
}

LRESULT WelcomePage::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        framework::PaintDc dc(m_hWnd);
        UINT dpi = framework::WindowDpi(m_hWnd);
        DrawDIBPicture(dc.get(), framework::ScaleToDpi(8, dpi), framework::ScaleToDpi(10, dpi),
                       framework::ScaledBitmapId(IDB_WELCOME, dpi));
        return TRUE;
    }
    return Page::HandleMessage(msg, wParam, lParam);
}

void WelcomePage::OnShowSplash()
{
    UpdateData(true);
    m_settings.WriteProfileInt("Settings", "ShowSplashScreen", m_showSplash ? 1 : 0);
}
