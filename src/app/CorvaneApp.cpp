#include "app/CorvaneApp.h"

#include "app/SplashWnd.h"

#include <commctrl.h>

CCorvaneApp::CCorvaneApp() : m_settings(kCompanyKey, kAppName) {}

CCorvaneApp::~CCorvaneApp() = default;

bool CCorvaneApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    // The settings live under HKEY_CURRENT_USER\Software\Halvett Software\Corvane;
    // there is no recent-file list.
    if (GetProfileInt("Settings", "ShowSplashScreen", 1) != 0) {
        CSplashWnd splash;
        splash.DoModal();
    }

    m_document = std::make_unique<CCorvaneDoc>();
    m_frame = std::make_unique<CMainFrame>(m_settings);
    if (!m_frame->Create())
        return false;

    ::ShowWindow(m_frame->GetSafeHwnd(), SW_SHOW);
    ::UpdateWindow(m_frame->GetSafeHwnd());
    m_bStarted = true;
    if (!m_openAtStart.empty())
        m_frame->OpenAnalysis(m_openAtStart);
    return true;
}

bool CCorvaneApp::PreTranslateMessage(MSG& msg)
{
    if (msg.message == WM_KEYDOWN && m_bStarted && m_frame && m_frame->GetSafeHwnd()) {
        if (framework::View* view = m_frame->GetActiveView())
            return view->PreTranslateKeyDown(msg);
    }
    return Application::PreTranslateMessage(msg);
}

int CCorvaneApp::GetProfileInt(const char* section, const char* entry, int defaultValue) const
{
    return m_settings.GetProfileInt(section, entry, defaultValue);
}
