#include "pages/ListPage.h"

#include "framework/Win32.h"
#include "lists/ListActions.h"
#include "lists/ListExport.h"
#include "lists/PrintList.h"
#include "pages/Layout.h"
#include "resources/resource.h"

namespace {

constexpr int kListBottomMargin = 30;

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
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(m_layout.columns[i].heading);
        column.cx = m_layout.columns[i].width;
        ::SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    m_ascending.assign(m_layout.columns.size(), false);
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
    SortKind kind = column == m_layout.sizeColumn          ? SortKind::Size
                    : column == m_list.Rows().DiskColumn() ? SortKind::OnDisk
                                                           : SortKind::Text;
    size_t index = static_cast<size_t>(column);
    bool ascending = !m_ascending[index];
    ListCtrlSortItems(m_list, column, kind, ascending);
    m_ascending[index] = ascending;
}

void ListPage::ShowDiskColumn(bool shown)
{
    int at = m_layout.sizeColumn + 1;
    if (m_layout.sizeColumn < 0 || shown == (m_list.Rows().DiskColumn() >= 0))
        return;
    ClearList();
    HWND list = m_list.GetSafeHwnd();
    auto index = static_cast<size_t>(at);
    if (shown) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>("On disk");
        column.cx = m_layout.columns[static_cast<size_t>(m_layout.sizeColumn)].width;
        ::SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
        m_ascending.insert(m_ascending.begin() + at, false);
    } else {
        ::SendMessageA(list, LVM_DELETECOLUMN, index, 0);
        m_ascending.erase(m_ascending.begin() + at);
    }
    m_list.Rows().SetDiskColumn(shown ? at : -1);
}

void ListPage::OnPageResize(int width, int height)
{
    // The view's first size, before the window has one, is not a size.
    if (width <= 0 || height <= 0)
        return;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND list = m_list.GetSafeHwnd();
    RECT rect = framework::ChildRect(list);
    ::SetWindowPos(list, nullptr, 0, 0, width - rect.left, height - kListBottomMargin - rect.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
