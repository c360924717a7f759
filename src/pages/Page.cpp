#include "pages/Page.h"

#include "settings/SettingsStore.h"
#include "framework/DataExchange.h"
#include "framework/Dpi.h"
#include "pages/Help.h"
#include "pages/PageMessages.h"

#include <algorithm>
#include <iterator>

namespace {

struct PagePicture {
    UINT templateId;
    UINT bitmapId;
};

// The picture down the left of each page that has one, as its template shows it.
constexpr PagePicture kPagePictures[] = {
    {IDD_DISKINFO_INTRO, IDB_PAGE_DISKINFO},
    {IDD_DISKINFO_SUMMARY, IDB_PAGE_DISKINFO},
    {IDD_HISTORY_INTRO, IDB_PAGE_HISTORY},
    {IDD_REPORTS_INTRO, IDB_PAGE_REPORTS},
    {IDD_REPORTS_TARGET, IDB_PAGE_REPORTS},
    {IDD_STARTMENU_INTRO, IDB_PAGE_STARTMENU},
    {IDD_INTERNET_INTRO, IDB_PAGE_INTERNET},
    {IDD_DLLS_INTRO, IDB_PAGE_DLLS},
    {IDD_SEARCH_INTRO, IDB_PAGE_SEARCH},
    {IDD_SEARCH_CRITERIA, IDB_PAGE_SEARCH},
    {IDD_SPEED_INTRO, IDB_PAGE_SPEED},
    {IDD_SPEED_RESULTS, IDB_PAGE_SPEED},
    {IDD_TOOLS, IDB_PAGE_TOOLS},
    {IDD_TIPS, IDB_PAGE_TIPS},
};

}  // namespace

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
    ShowAtDpi();
    return TRUE;
}

void Page::UpdateDpi()
{
    ShowAtDpi();
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void Page::ShowAtDpi()
{
    UINT dpi = framework::WindowDpi(m_hWnd);
    m_titleFont = framework::MakeTitleFont(dpi);
    ::SendDlgItemMessageA(m_hWnd, IDC_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(m_titleFont.get()), FALSE);
    if (::GetDlgItem(m_hWnd, IDC_PROBLEM_HEADING)) {
        m_headingFont = framework::MakeHeadingFont(dpi);
        for (int heading : {IDC_PROBLEM_HEADING, IDC_HELPS_HEADING})
            ::SendDlgItemMessageA(m_hWnd, heading, WM_SETFONT, reinterpret_cast<WPARAM>(m_headingFont.get()), FALSE);
    }
    auto picture = std::ranges::find(kPagePictures, m_templateId, &PagePicture::templateId);
    if (picture != std::end(kPagePictures))
        framework::ShowScaledPicture(::GetDlgItem(m_hWnd, IDC_PAGE_PICTURE), picture->bitmapId, m_picture);
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
