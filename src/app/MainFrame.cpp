#include "app/MainFrame.h"

#include "app/AboutDlg.h"
#include "settings/SettingsStore.h"
#include "disk/History.h"
#include "framework/Application.h"
#include "framework/Dpi.h"
#include "framework/Text.h"
#include "framework/Win32.h"
#include "framework/Seams.h"
#include "lists/FileIcons.h"
#include "lists/ListExport.h"
#include "pages/Help.h"
#include "pages/ListPage.h"
#include "app/Tabs.h"
#include "reports/ReportsPages.h"
#include "resources/resource.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr UINT kViewId = 0xE900;
constexpr UINT kStatusBarId = 0xE801;

// The tab's caption and what its list holds, as a file name.
std::string ExportFileName(std::string tab, const std::string& title)
{
    std::string name = tab.erase(0, tab.find_first_not_of(' '));
    if (!title.empty())
        name += " - " + title;
    std::erase_if(name, [](char c) { return std::strchr("\\/:*?\"<>|", c) != nullptr; });
    return name + ".csv";
}

// The Working dialog takes a close as Stop; a message box as its answer.
BOOL CALLBACK AskOwnedWindowToClose(HWND window, LPARAM frame)
{
    if (::GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(frame) && ::IsWindowEnabled(window) &&
        ::IsWindowVisible(window))
        ::PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

bool CMainFrame::Create()
{
    WNDCLASSEXA wc{};
    wc.lpszClassName = "CorvaneFrame";
    wc.hIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    RegisterWindowClass(wc);

    HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    std::string title = framework::LoadResourceString(IDS_APP_TITLE);
    constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    UINT dpi = framework::SystemDpi();
    RECT rect{0, 0, framework::ScaleToDpi(kWidth, dpi), framework::ScaleToDpi(kHeight, dpi)};
    return CreateEx(0, wc.lpszClassName, title.c_str(), kStyle, rect, nullptr, menu);
}

LRESULT CMainFrame::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        return OnCreate();
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_ENABLE:
        if (wParam && m_closeWhenEnabled)
            ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_SETFOCUS:
        if (m_view)
            ::SetFocus(m_view->GetSafeHwnd());
        return 0;
    case WM_SETCURSOR:
        // Also asked for the pages and controls inside, and for the window
        // disabled by a long operation.
        if (framework::WaitCursor::Restore())
            return TRUE;
        break;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return 0;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

int CMainFrame::OnCreate()
{
    m_view = std::make_unique<CTabView>(CorvaneTabs(m_settings));
    if (!m_view->Create(m_hWnd, kViewId))
        return -1;
    if (!m_statusBar.Create(m_hWnd, kStatusBarId))
        return -1;
    ShowIdleText();
    FitPages();
    CenterOnDesktop();
    TakeSnapshot(m_settings);
    return 0;
}

// A long operation (or a modal window) runs inside a handler of this window
// and holds it disabled: destroyed now, the operation would go on with no
// window and no Stop. It is asked to end first, and the window closes after.
void CMainFrame::OnClose()
{
    if (::IsWindowEnabled(m_hWnd)) {
        DestroyWindow();
        return;
    }
    m_closeWhenEnabled = true;
    ::EnumThreadWindows(::GetCurrentThreadId(), AskOwnedWindowToClose, reinterpret_cast<LPARAM>(m_hWnd));
}

void CMainFrame::OnDestroy()
{
    // The shell's image list is the shell's: detach it, never destroy it.
    ReleaseSysImageList();
    ::PostQuitMessage(0);
}

void CMainFrame::OnSize()
{
    if (!m_view || !m_statusBar.GetSafeHwnd())
        return;
    m_statusBar.Reposition();
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    ::MoveWindow(m_view->GetSafeHwnd(), 0, 0, client.right, client.bottom - m_statusBar.Height(), TRUE);
}

// The pages keep their size in dialog units, so a wider dialog font (or two
// rows of tabs) may need more room than the usual window gives them.
void CMainFrame::FitPages()
{
    // A wider window may hold the tabs in fewer rows: the second pass settles it.
    for (int pass = 0; pass < 2; ++pass) {
        OnSize();
        RECT frame{}, view{};
        ::GetWindowRect(m_hWnd, &frame);
        ::GetClientRect(m_view->GetSafeHwnd(), &view);
        SIZE needed = m_view->SizeToFitPages();
        int width = frame.right - frame.left - view.right + needed.cx;
        int height = frame.bottom - frame.top - view.bottom + needed.cy;
        m_fitted = SIZE{std::max(width, Scaled(kWidth)), std::max(height, Scaled(kHeight))};
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_fitted.cx, m_fitted.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO& info)
{
    info.ptMinTrackSize = POINT{std::max<LONG>(Scaled(kMinTrackWidth), m_fitted.cx),
                                std::max<LONG>(Scaled(kMinTrackHeight), m_fitted.cy)};
}

int CMainFrame::Scaled(int pixels) const noexcept
{
    return framework::ScaleToDpi(pixels, framework::WindowDpi(m_hWnd));
}

// Moved to a monitor of another scale: the system proposes the place and
// size, the pages take their fonts and lengths at the new DPI and fit again.
bool CMainFrame::OnDpiChanged(UINT, const RECT& suggested)
{
    SIZE size = framework::RectSize(suggested);
    ::SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!m_view)
        return true;
    m_view->UpdateDpi();
    FitPages();
    // FitPages leaves the least size that fits: the proposed one stays where it is larger.
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, std::max(size.cx, m_fitted.cx), std::max(size.cy, m_fitted.cy),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void CMainFrame::OnMenuSelect(UINT item, UINT flags, HMENU menu)
{
    if (flags == 0xFFFF && menu == nullptr) {
        ShowIdleText();
        return;
    }
    bool isCommand = !(flags & (MF_POPUP | MF_SEPARATOR));
    m_statusBar.SetText(isCommand ? framework::LoadResourceString(item).c_str() : "");
}

void CMainFrame::OnInitMenuPopup(HMENU menu)
{
    ::EnableMenuItem(menu, ID_FILE_EXPORT, MF_BYCOMMAND | (ExportablePage() ? MF_ENABLED : MF_GRAYED));
}

const ListPage* CMainFrame::ExportablePage() const
{
    const auto* page = m_view ? dynamic_cast<const ListPage*>(m_view->GetCurrentPage()) : nullptr;
    return page && page->CanExport() ? page : nullptr;
}

void CMainFrame::OnOpenAnalysis()
{
    std::string path = framework::GetSeams().openFileName(m_hWnd);
    if (!path.empty())
        OpenAnalysis(path);
}

void CMainFrame::OpenAnalysis(const std::string& path)
{
    NextAnalysis() = {};
    NextAnalysis().savedTree = path;
    m_view->ShowTabPage(kReportsTab, 2);
}

void CMainFrame::OnExportList()
{
    const ListPage* page = ExportablePage();
    if (!page)
        return;
    framework::Seams& seams = framework::GetSeams();
    std::string path =
        seams.saveFileName(m_hWnd, ExportFileName(m_view->GetCurrentCaption(), page->ListTitle()).c_str());
    if (path.empty())
        return;
    DWORD error = ERROR_SUCCESS;
    {
        framework::WaitCursor wait;
        error = WriteCsv(page->ExportCsv(), path);
    }
    if (error == ERROR_SUCCESS)
        return;
    std::string text = "Corvane could not write the list to " + path + ".\n\n" + framework::SystemMessage(error);
    seams.messageBox(m_hWnd, text.c_str(), "Corvane", MB_OK | MB_ICONWARNING);
}

// The menu's commands and their accelerators.
bool CMainFrame::OnCommand(UINT id, UINT code, HWND control)
{
    if (control)
        return Window::OnCommand(id, code, control);
    switch (id) {
    case ID_FILE_EXPORT:
        OnExportList();
        return true;
    case ID_FILE_OPEN_ANALYSIS:
        OnOpenAnalysis();
        return true;
    case ID_APP_EXIT:
        ::SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
        return true;
    case ID_HELP_FINDER:
        ShowHelp(m_hWnd, nullptr);
        return true;
    case ID_APP_ABOUT: {
        CAboutDlg about;
        about.DoModal(IDD_ABOUTBOX, m_hWnd);
        return true;
    }
    }
    return false;
}

void CMainFrame::CenterOnDesktop()
{
    framework::CenterWindow(m_hWnd, framework::WorkArea());
}

void CMainFrame::ShowIdleText()
{
    m_statusBar.SetText(framework::LoadResourceString(IDS_IDLE_MESSAGE).c_str());
}
