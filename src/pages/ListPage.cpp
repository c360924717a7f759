#include "pages/ListPage.h"

#include "framework/Dpi.h"
#include "framework/Win32.h"
#include "lists/ListActions.h"
#include "lists/ListExport.h"
#include "lists/PrintList.h"
#include "pages/Layout.h"
#include "resources/resource.h"

#include <algorithm>

namespace {

constexpr int kListBottomMargin = 30;
constexpr int kDiskColumnWidth = 70;  // 96-DPI pixels

// The width the columns may fill without a horizontal scroll bar, whether
// the vertical one shows or not.
int RoomForColumns(HWND list, UINT dpi)
{
    RECT client{};
    ::GetClientRect(list, &client);
    bool scrollBar = ::GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL;
    int scrollBarWidth =
        ::MulDiv(::GetSystemMetrics(SM_CXVSCROLL), static_cast<int>(dpi), static_cast<int>(framework::SystemDpi()));
    return client.right - (scrollBar ? 0 : scrollBarWidth);
}

}  // namespace

std::vector<ListButton> FoundFilesButtons()
{
    return {{IDC_PRINT, ButtonNeeds::Nothing},
            {IDC_DELETE, ButtonNeeds::SelectedFiles},
            {IDC_RECYCLE, ButtonNeeds::SelectedFiles},
            {IDC_OPEN, ButtonNeeds::OneSelectedFile},
            {IDC_START_OVER, ButtonNeeds::Nothing}};
}

ListPage::ListPage(ListPageLayout layout, std::vector<PageLink> links, const SettingsStore* settings)
    : Page(layout.templateId, layout.helpKey, std::move(links), settings), m_layout(std::move(layout)),
      m_list(m_layout.sizeColumn)
{
    OnControl(IDC_OPEN, BN_CLICKED, [this] { OpenSelected(); });
    OnControl(IDC_RECYCLE, BN_CLICKED, [this] { RemoveSelected(false); });
    OnControl(IDC_DELETE, BN_CLICKED, [this] { RemoveSelected(true); });
    OnControl(IDC_PRINT, BN_CLICKED, [this] { PrintSelected(); });
}

BOOL ListPage::OnInitDialog()
{
    Page::OnInitDialog();
    m_list.Attach(::GetDlgItem(m_hWnd, m_layout.listId));
    HWND list = m_list.GetSafeHwnd();
    ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    ::SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(GetSysImageList()));
    for (size_t i = 0; i < m_layout.columns.size(); ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT;
        column.pszText = const_cast<char*>(m_layout.columns[i].heading);
        ::SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
        m_widths.push_back(m_layout.columns[i].width);
    }
    m_userWidths.assign(m_widths.size(), 0);
    LayOutColumns();
    m_ascending.assign(m_layout.columns.size(), false);
    m_sorts.assign(m_layout.columns.size(), SortKind::Text);
    if (m_layout.sizeColumn >= 0)
        m_sorts[static_cast<size_t>(m_layout.sizeColumn)] = SortKind::Size;
    UpdateButtons();
    return TRUE;
}

LRESULT ListPage::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The shell's image list outlives every page that shows it.
    if (msg == WM_DESTROY)
        ::SendMessageA(m_list.GetSafeHwnd(), LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    return Page::HandleMessage(msg, wParam, lParam);
}

bool ListPage::OnNotify(const NMHDR& header, LRESULT& result)
{
    // Left to the list as well, which applies the new width.
    if (header.hwndFrom == ListView_GetHeader(m_list.GetSafeHwnd())) {
        OnHeaderNotify(header);
        return false;
    }
    if (header.idFrom != static_cast<UINT_PTR>(m_layout.listId))
        return Page::OnNotify(header, result);
    if (m_list.OnNotify(header, result))
        return true;
    switch (header.code) {
    case LVN_COLUMNCLICK:
        OnColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
        return true;
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED:
        UpdateButtons();
        return true;
    case LVN_KEYDOWN:
        if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == 'C' && ::GetKeyState(VK_CONTROL) < 0) {
            if (!CopySelectedRows(m_list))
                ::MessageBeep(MB_ICONWARNING);
            return true;
        }
        return false;
    }
    return false;
}

// The list passes on its heading's notifications: a width the user dragged stays.
void ListPage::OnHeaderNotify(const NMHDR& header)
{
    if (header.code != HDN_ENDTRACKA && header.code != HDN_ENDTRACKW)
        return;
    HWND list = m_list.GetSafeHwnd();
    const auto& change = reinterpret_cast<const NMHEADERA&>(header);
    auto column = static_cast<size_t>(change.iItem);
    if (change.pitem && (change.pitem->mask & HDI_WIDTH) && column < m_userWidths.size()) {
        m_userWidths[column] = std::max(1, framework::UnscaleFromDpi(change.pitem->cxy, framework::WindowDpi(list)));
        LayOutColumns();
    }
}

void ListPage::SetColumnWidth(int column, int width)
{
    if (column < 0 || static_cast<size_t>(column) >= m_widths.size())
        return;
    m_widths[static_cast<size_t>(column)] = width;
    LayOutColumns();
}

void ListPage::SetColumnHeading(int column, const char* heading, SortKind kind)
{
    if (column >= 0 && static_cast<size_t>(column) < m_sorts.size())
        m_sorts[static_cast<size_t>(column)] = kind;
    std::string text = heading;
    LVCOLUMNA item{};
    item.mask = LVCF_TEXT;
    item.pszText = text.data();
    ::SendMessageA(m_list.GetSafeHwnd(), LVM_SETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
}

int ListPage::ColumnWidth(size_t column, UINT dpi) const
{
    if (m_userWidths[column])
        return framework::ScaleToDpi(m_userWidths[column], dpi);
    return std::max(framework::ScaleToDpi(m_widths[column], dpi), m_list.HeadingWidth(static_cast<int>(column)));
}

void ListPage::LayOutColumns()
{
    HWND list = m_list.GetSafeHwnd();
    UINT dpi = framework::WindowDpi(list);
    std::vector<int> widths;
    for (size_t column = 0; column < m_widths.size(); ++column)
        widths.push_back(ColumnWidth(column, dpi));
    auto path = static_cast<size_t>(m_layout.pathColumn);
    if (path < widths.size() && !m_userWidths[path]) {
        int others = 0;
        for (size_t column = 0; column < widths.size(); ++column)
            others += column == path ? 0 : widths[column];
        widths[path] = std::max(widths[path], RoomForColumns(list, dpi) - others);
    }
    for (size_t column = 0; column < widths.size(); ++column) {
        if (::SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0) != widths[column])
            ::SendMessageA(list, LVM_SETCOLUMNWIDTH, column, widths[column]);
    }
}

void ListPage::UpdateDpi()
{
    Page::UpdateDpi();
    LayOutColumns();
}

std::string ListPage::ExportCsv() const
{
    return ListCsv(m_list);
}

void ListPage::OpenSelected()
{
    ListCtrlOpenSelectedFile(m_hWnd, m_list);
}

void ListPage::RemoveSelected(bool permanent)
{
    if (ConfirmRemoval())
        DeleteSelectedFiles(permanent);
}

void ListPage::PrintSelected()
{
    PrintList(m_list);
}

void ListPage::OnColumnClick(int column)
{
    if (column < 0 || static_cast<size_t>(column) >= m_ascending.size())
        return;
    size_t index = static_cast<size_t>(column);
    bool ascending = !m_ascending[index];
    ListCtrlSortItems(m_list, column, m_sorts[index], ascending);
    m_ascending[index] = ascending;
}

void ListPage::ShowDiskColumn(bool shown)
{
    int at = m_layout.sizeColumn + 1;
    if (m_layout.sizeColumn < 0 || shown == (m_list.Rows().DiskColumn() >= 0))
        return;
    // A little narrower than Size, so that the list still starts without a scroll bar.
    if (shown)
        InsertColumn(at, "On disk", kDiskColumnWidth, SortKind::OnDisk);
    else
        RemoveColumn(at);
    m_list.Rows().SetDiskColumn(shown ? at : -1);
}

void ListPage::InsertColumn(int at, const char* heading, int width, SortKind kind)
{
    ClearList();
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<char*>(heading);
    ::SendMessageA(m_list.GetSafeHwnd(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&column));
    m_ascending.insert(m_ascending.begin() + at, false);
    m_sorts.insert(m_sorts.begin() + at, kind);
    m_widths.insert(m_widths.begin() + at, width);
    m_userWidths.insert(m_userWidths.begin() + at, 0);
    LayOutColumns();
}

void ListPage::RemoveColumn(int at)
{
    ClearList();
    ::SendMessageA(m_list.GetSafeHwnd(), LVM_DELETECOLUMN, static_cast<WPARAM>(at), 0);
    m_ascending.erase(m_ascending.begin() + at);
    m_sorts.erase(m_sorts.begin() + at);
    m_widths.erase(m_widths.begin() + at);
    m_userWidths.erase(m_userWidths.begin() + at);
    LayOutColumns();
}

void ListPage::OnPageResize(int width, int height)
{
    // The view's first size, before the window has one, is not a size.
    if (width <= 0 || height <= 0)
        return;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND list = m_list.GetSafeHwnd();
    RECT rect = framework::ChildRect(list);
    int bottomMargin = framework::ScaleToDpi(kListBottomMargin, framework::WindowDpi(m_hWnd));
    ::SetWindowPos(list, nullptr, 0, 0, width - rect.left, height - bottomMargin - rect.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    LayOutColumns();
    HWND previous = nullptr;
    for (const ListButton& button : m_layout.buttons) {
        HWND control = ::GetDlgItem(m_hWnd, button.id);
        if (previous)
            PlaceLeftOf(control, previous);
        else
            PlaceBelowRight(control, list);
        previous = control;
    }
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void ListPage::ClearList()
{
    m_list.Clear();
    m_placeholder = false;
    UpdateButtons();
}

void ListPage::AddRow(std::initializer_list<std::string_view> cells, std::uint64_t size)
{
    bool first = m_list.Rows().Count() == 0;
    m_list.Add(cells, size, m_layout.newRows);
    if (first)
        UpdateButtons();
}

void ListPage::ShowRows()
{
    m_list.Show();
    UpdateButtons();
}

void ListPage::ShowPlaceholder(const char* message)
{
    ClearList();
    m_list.AddMessage(message);
    m_placeholder = true;
    UpdateButtons();
}

void ListPage::DeleteSelectedFiles(bool permanent)
{
    std::vector<std::string> gone = ListCtrlDeleteSelectedFiles(m_list, permanent, m_layout.folderRows);
    UpdateButtons();
    if (!gone.empty())
        OnFilesDeleted(gone);
}

int ListPage::SelectedCount() const
{
    return HasResults() ? static_cast<int>(::SendMessageA(m_list.GetSafeHwnd(), LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

void ListPage::UpdateButtons()
{
    bool rows = HasResults();
    int selected = SelectedCount();
    for (const ListButton& button : m_layout.buttons) {
        bool enable = true;
        switch (button.needs) {
        case ButtonNeeds::Nothing:
            break;
        case ButtonNeeds::Rows:
            enable = rows;
            break;
        case ButtonNeeds::OneSelectedFile:
            enable = selected == 1;
            break;
        case ButtonNeeds::SelectedFiles:
            enable = selected >= 1;
            break;
        }
        ::EnableWindow(::GetDlgItem(m_hWnd, button.id), enable);
    }
}
