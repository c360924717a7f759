#include "pages/TabView.h"

#include "framework/Dpi.h"
#include "framework/Win32.h"
#include "pages/PageMessages.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// In 96-DPI pixels: a page stands this far below the top of the display
// area (6 pixels below the tabs), and a growing page leaves the margin free
// at its bottom.
constexpr int kPageGap = 4;
constexpr int kPageBottomMargin = 14;
// The view's margins round the tab control.
constexpr int kTabSide = 8;
constexpr int kTabTop = 2;
constexpr int kTabBottom = 4;

bool IsEnabledDefaultButton(HWND child)
{
    char className[16] = "";
    ::GetClassNameA(child, className, sizeof className);
    return lstrcmpiA(className, WC_BUTTONA) == 0 && (::GetWindowLongA(child, GWL_STYLE) & 0xFF) == BS_DEFPUSHBUTTON &&
           ::IsWindowEnabled(child);
}

// The focus is a combo box's, or its edit field's, while its list is open.
bool IsInOpenDropDown(HWND focus)
{
    auto isCombo = [](HWND window) {
        char name[16] = "";
        ::GetClassNameA(window, name, sizeof name);
        return ::lstrcmpiA(name, "ComboBox") == 0;
    };
    HWND combo = focus && !isCombo(focus) ? ::GetParent(focus) : focus;
    return combo && isCombo(combo) && ::SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0);
}

}  // namespace

Page* CTabView::GetPage(int tab, int page) const noexcept
{
    if (tab < 0 || tab >= static_cast<int>(m_pages.size()))
        return nullptr;
    const auto& pages = m_pages[static_cast<size_t>(tab)];
    if (page < 0 || page >= static_cast<int>(pages.size()))
        return nullptr;
    return pages[static_cast<size_t>(page)].get();
}

Page* CTabView::GetCurrentPage() const noexcept
{
    int tab = CurrentTab();
    return tab < 0 || tab >= m_tabCount ? nullptr : GetPage(tab, m_currentPage[static_cast<size_t>(tab)]);
}

std::string CTabView::GetCurrentCaption() const
{
    int tab = CurrentTab();
    return tab < 0 || tab >= m_tabCount ? std::string() : m_tabs[static_cast<size_t>(tab)].caption;
}

int CTabView::CurrentTab() const noexcept
{
    return m_tabControl ? static_cast<int>(::SendMessageA(m_tabControl, TCM_GETCURSEL, 0, 0)) : -1;
}

LRESULT CTabView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        return OnCreate();
    case UM_SHOWPAGE:
        OnShowPage(static_cast<int>(wParam), lParam);
        return 0;
    case WM_SIZE:
        Default(msg, wParam, lParam);
        if (wParam != SIZE_MINIMIZED)
            OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_SETFOCUS:
        ShowCurrentPage();
        return 0;
    case WM_ERASEBKGND: {
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, m_background.get());
        return 1;
    }
    }
    return View::HandleMessage(msg, wParam, lParam);
}

bool CTabView::OnNotify(const NMHDR& header, LRESULT& result)
{
    if (header.hwndFrom != m_tabControl)
        return false;
    switch (header.code) {
    case TCN_SELCHANGING:
        HideCurrentPage();
        result = FALSE;  // the change may go ahead
        return true;
    case TCN_SELCHANGE:
        ShowCurrentPage();
        return true;
    }
    return false;
}

int CTabView::OnCreate()
{
    m_background.reset(::CreateSolidBrush(RGB(192, 192, 192)));
    m_tabControl = ::CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_MULTILINE, 0,
                                     0, 0, 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kTabControlId)),
                                     ::GetModuleHandleA(nullptr), nullptr);
    if (!m_tabControl)
        return -1;
    SetTabFont();

    for (const TabEntry& tab : m_tabs) {
        auto& pages = m_pages.emplace_back();
        for (const PageFactory& make : tab.pages) {
            std::unique_ptr<Page> page = make();
            pages.push_back(page && page->CreatePage(m_tabControl) ? std::move(page) : nullptr);
        }
        m_currentPage.push_back(0);
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(tab.caption.c_str());
        ::SendMessageA(m_tabControl, TCM_INSERTITEMA, static_cast<WPARAM>(m_tabCount), reinterpret_cast<LPARAM>(&item));
        ++m_tabCount;
    }
    ShowCurrentPage();
    return 0;
}

// The stock font at 96 DPI, else its like at the window's: the stock one keeps its pixels.
void CTabView::SetTabFont()
{
    UINT dpi = framework::WindowDpi(m_hWnd);
    m_tabFont = dpi == framework::kDefaultDpi ? framework::Font() : framework::ScaledStockFont(ANSI_VAR_FONT, dpi);
    HGDIOBJ font = m_tabFont ? m_tabFont.get() : ::GetStockObject(ANSI_VAR_FONT);
    ::SendMessageA(m_tabControl, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void CTabView::UpdateDpi()
{
    SetTabFont();
    for (const auto& tab : m_pages) {
        for (const auto& page : tab) {
            if (page)
                page->UpdateDpi();
        }
    }
}

int CTabView::Scaled(int pixels) const noexcept
{
    return framework::ScaleToDpi(pixels, framework::WindowDpi(m_hWnd));
}

void CTabView::ShowTabPage(int tab, int page)
{
    if (tab < 0 || tab >= m_tabCount)
        return;
    HideCurrentPage();
    ::SendMessageA(m_tabControl, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    ShowCurrentPage();
    OnShowPage(page, 0);
}

void CTabView::OnShowPage(int page, LPARAM argument)
{
    int tab = CurrentTab();
    // A tab whose page is not there stays where it is.
    Page* target = GetPage(tab, page);
    if (!target)
        return;
    HideCurrentPage();
    m_currentPage[static_cast<size_t>(tab)] = page;
    ShowCurrentPage();
    if (argument)
        ::PostMessageA(target->GetSafeHwnd(), UM_PAGEARGUMENT, static_cast<WPARAM>(argument), 0);
    ::PostMessageA(target->GetSafeHwnd(), UM_PAGEACTIVATED, 0, 0);
}

void CTabView::HideCurrentPage()
{
    if (Page* page = GetCurrentPage())
        ::ShowWindow(page->GetSafeHwnd(), SW_HIDE);
}

// The tab control's display area: below every row of tabs, whichever row is in front.
RECT CTabView::DisplayArea() const
{
    RECT area{};
    ::GetClientRect(m_tabControl, &area);
    ::SendMessageA(m_tabControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return area;
}

// On top of its siblings, size unchanged.
void CTabView::PlaceCurrentPage()
{
    Page* page = GetCurrentPage();
    if (!page)
        return;
    RECT area = DisplayArea();
    ::SetWindowPos(page->GetSafeHwnd(), HWND_TOP, area.left, area.top + Scaled(kPageGap), 0, 0, SWP_NOSIZE);
}

SIZE CTabView::SizeToFitPages() const
{
    RECT area{};
    for (const auto& tab : m_pages) {
        for (const auto& page : tab) {
            RECT own{};
            if (page && ::GetWindowRect(page->GetSafeHwnd(), &own)) {
                area.right = std::max(area.right, framework::RectSize(own).cx);
                area.bottom = std::max(area.bottom, Scaled(kPageGap) + framework::RectSize(own).cy);
            }
        }
    }
    ::SendMessageA(m_tabControl, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&area));
    SIZE pages = framework::RectSize(area);
    return SIZE{pages.cx + 2 * Scaled(kTabSide), pages.cy + Scaled(kTabTop) + Scaled(kTabBottom)};
}

void CTabView::ShowCurrentPage()
{
    Page* page = GetCurrentPage();
    if (!page)
        return;
    PlaceCurrentPage();
    ::ShowWindow(page->GetSafeHwnd(), SW_SHOW);
    ::SetFocus(page->GetSafeHwnd());
}

void CTabView::OnSize(int width, int height)
{
    int side = Scaled(kTabSide), top = Scaled(kTabTop);
    ::MoveWindow(m_tabControl, side, top, width - 2 * side, height - top - Scaled(kTabBottom), TRUE);
    // The tab rows may have wrapped differently: keep the pages below them.
    PlaceCurrentPage();
    RECT area = DisplayArea();
    int pageWidth = framework::RectSize(area).cx;
    int pageHeight = area.bottom - Scaled(kPageBottomMargin) - (area.top + Scaled(kPageGap));
    for (const auto& tab : m_pages) {
        for (const auto& page : tab) {
            if (page)
                ::PostMessageA(page->GetSafeHwnd(), UM_PAGERESIZE, static_cast<WPARAM>(pageWidth), pageHeight);
        }
    }
}

bool CTabView::PreTranslateKeyDown(MSG& msg)
{
    Page* page = GetCurrentPage();
    // While a long operation runs the main window is disabled: no key may
    // start another one inside it.
    bool busy = !::IsWindowEnabled(::GetAncestor(m_hWnd, GA_ROOT));
    // An open drop-down list takes Enter and Escape itself, to close.
    if ((msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) && IsInOpenDropDown(::GetFocus()))
        return false;
    switch (msg.wParam) {
    case VK_ESCAPE:
        return true;
    case VK_TAB:
        if (HWND focus = ::GetFocus(); focus && page && !busy) {
            bool backwards = ::GetAsyncKeyState(VK_SHIFT) < 0;
            // Through the dialog manager, so that a focused push button becomes the default one.
            if (HWND next = ::GetNextDlgTabItem(page->GetSafeHwnd(), focus, backwards))
                ::SendMessageA(page->GetSafeHwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
        }
        return true;
    case VK_RETURN:
        if (page && !busy)
            PressEnterButton(*page);
        return true;
    }
    return false;
}

void CTabView::PressEnterButton(const Page& page)
{
    HWND dialog = page.GetSafeHwnd();
    auto press = [dialog](HWND button) {
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
    };
    if (HWND button = page.EnterButton()) {
        if (::IsWindowEnabled(button))
            press(button);
        return;
    }
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (IsEnabledDefaultButton(child))
            press(child);
    }
}
