#include "pages/WelcomePage.h"

#include "app/SettingsStore.h"
#include "framework/DataExchange.h"
#include "framework/Handle.h"
#include "pages/Picture.h"
#include "resources/resource.h"

CWelcomePage::CWelcomePage(const SettingsStore& settings) noexcept : CPage(IDD_WELCOME, nullptr), m_settings(settings)
{
}

BOOL CWelcomePage::OnInitDialog()
{
    m_showSplash = m_settings.GetProfileInt("Settings", "ShowSplashScreen", 1);
    return CPage::OnInitDialog();
}

void CWelcomePage::DoDataExchange(framework::DataExchange& dx)
{
    dx.Check(IDC_SHOW_SPLASH, m_showSplash);
}

LRESULT CWelcomePage::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        framework::PaintDc dc(m_hWnd);
        DrawDIBPicture(dc.get(), 8, 10, IDB_WELCOME);
        return TRUE;
    }
    return CPage::HandleMessage(msg, wParam, lParam);
}

bool CWelcomePage::OnButtonClicked(UINT id)
{
    if (id != IDC_SHOW_SPLASH)
        return CPage::OnButtonClicked(id);
    UpdateData(true);
    m_settings.WriteProfileInt("Settings", "ShowSplashScreen", m_showSplash ? 1 : 0);
    return true;
}
