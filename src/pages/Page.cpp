#include "pages/Page.h"

#include "settings/SettingsStore.h"
#include "framework/DataExchange.h"
#include "pages/Help.h"
#include "pages/PageMessages.h"

Page::Page(UINT templateId, const char* helpKey, std::vector<PageLink> links, const SettingsStore* settings) noexcept
    : m_templateId(templateId), m_helpKey(helpKey), m_linkSettings(settings)
{
    for (UINT help : {IDC_MORE_HELP, IDC_HELP_BUTTON})
        OnControl(help, BN_CLICKED, [this] { OpenHelp(); });
    for (const PageLink& link : links)
        OnControl(link.buttonId, BN_CLICKED, [this, link] { FollowLink(link); });
}

BOOL Page::OnInitDialog()
{
    Dialog::OnInitDialog();
    m_titleFont = framework::MakeTitleFont();
    ::SendDlgItemMessageA(m_hWnd, IDC_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(m_titleFont.get()), FALSE);
    if (::GetDlgItem(m_hWnd, IDC_PROBLEM_HEADING)) {
        m_headingFont = framework::MakeHeadingFont();
        for (int heading : {IDC_PROBLEM_HEADING, IDC_HELPS_HEADING})
            ::SendDlgItemMessageA(m_hWnd, heading, WM_SETFONT, reinterpret_cast<WPARAM>(m_headingFont.get()), FALSE);
    }
    return TRUE;
}

LRESULT Page::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case UM_PAGEACTIVATED:
        // A second request that arrives while the page's work pumps messages
        // (a double click on Next) must not start the work inside itself.
        if (!m_working) {
            m_working = true;
            OnPageActivated();
            m_working = false;
        }
        return TRUE;
    case UM_PAGEARGUMENT:
        OnPageArgument(static_cast<LPARAM>(wParam));
        return TRUE;
    case UM_PAGERESIZE:
        OnPageResize(static_cast<int>(wParam), static_cast<int>(lParam));
        return TRUE;
    }
    return Dialog::HandleMessage(msg, wParam, lParam);
}

void Page::FollowLink(const PageLink& link) const
{
    if (link.skipFlag && m_linkSettings)
        m_linkSettings->WriteProfileInt("Settings", link.skipFlag, 0);
    ShowPage(link.page);
}

void Page::ShowPage(int page, LPARAM argument) const
{
    ::PostMessageA(::GetParent(::GetParent(m_hWnd)), UM_SHOWPAGE, static_cast<WPARAM>(page), argument);
}

void Page::OpenHelp() const
{
    if (m_helpKey)
        ShowHelp(m_hWnd, m_helpKey);
}

LRESULT IntroPage::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Only exactly 1 skips: any other value shows the introduction.
    if (msg == WM_SHOWWINDOW && wParam && m_skipFlag && m_settings.GetProfileInt("Settings", m_skipFlag, 0) == 1)
        ShowPage(1);
    return Page::HandleMessage(msg, wParam, lParam);
}

HWND IntroPage::EnterButton() const noexcept
{
    return ::GetDlgItem(m_hWnd, IDC_NEXT);
}

void IntroPage::DoDataExchange(framework::DataExchange& dx)
{
    if (m_skipFlag)
        dx.Check(IDC_SKIP, m_skip);
}

void IntroPage::OnNext()
{
    UpdateData(true);
    if (m_skipFlag && m_skip)
        m_settings.WriteProfileInt("Settings", m_skipFlag, 1);
    ShowPage(1);
}
