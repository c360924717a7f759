#include "lists/ListPage.h"

#include "lists/PrintList.h"
#include "pages/Layout.h"
#include "resources/resource.h"

namespace {

constexpr int kListBottomMargin = 30;

void InsertText(HWND list, int row, int column, const std::string& text)
{
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

BOOL CListPage::OnInitDialog()
{
    CPage::OnInitDialog();
    HWND list = GetList();
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

LRESULT CListPage::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == static_cast<UINT_PTR>(m_layout.listId)) {
            if (header->code == LVN_COLUMNCLICK)
                OnColumnClick(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
            else if (header->code == LVN_ITEMCHANGED || header->code == LVN_INSERTITEM)
                UpdateButtons();
        }
        break;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && OnFileCommand(LOWORD(wParam)))
            return TRUE;
        break;
    case WM_DESTROY:
        // The shell's image list outlives every page that shows it.
        ::SendMessageA(GetList(), LVM_SETIMAGELIST, LVSIL_SMALL, 0);
        break;
    }
    return CPage::HandleMessage(msg, wParam, lParam);
}

bool CListPage::OnFileCommand(int id)
{
    switch (id) {
    case IDC_OPEN:
        ListCtrlOpenSelectedFile(m_hWnd, GetList());
        return true;
    case IDC_RECYCLE:
    case IDC_DELETE:
        if (ConfirmRemoval()) {
            DeleteSelectedFiles(id == IDC_DELETE, FolderPrefix());
            OnFilesDeleted();
        }
        return true;
    case IDC_PRINT:
        PrintList(GetList());
        return true;
    }
    return false;
}

void CListPage::OnColumnClick(int column)
{
    if (column < 0 || static_cast<size_t>(column) >= m_ascending.size())
        return;
    SortKind kind = column == m_layout.sizeColumn ? SortKind::Size : SortKind::Text;
    auto order = m_ascending[static_cast<size_t>(column)];
    ListCtrlSortItems(GetList(), column, kind, !order);
    order = !order;
}

void CListPage::OnPageResize(int width, int height)
{
    // The view's first size, before the window has one, is not a size.
    if (width <= 0 || height <= 0)
        return;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND list = GetList();
    RECT rect{};
    ::GetWindowRect(list, &rect);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
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

void CListPage::ClearList()
{
    ::SendMessageA(GetList(), LVM_DELETEALLITEMS, 0, 0);
    m_rowsAdded = 0;
    m_placeholder = false;
    UpdateButtons();
}

int CListPage::AddRow(const std::vector<std::string>& cells, int image, bool onTop)
{
    HWND list = GetList();
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = onTop ? 0 : static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<char*>(cells.empty() ? "" : cells[0].c_str());
    item.iImage = image;
    item.lParam = ++m_rowsAdded;
    int row = static_cast<int>(::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (size_t column = 1; column < cells.size(); ++column)
        InsertText(list, row, static_cast<int>(column), cells[column]);
    return row;
}

void CListPage::ShowPlaceholder(const char* message)
{
    ClearList();
    AddRow({message}, -1);
    m_placeholder = true;
    UpdateButtons();
}

void CListPage::DeleteSelectedFiles(bool permanent, const std::string& folderPrefix)
{
    ListCtrlDeleteSelectedFiles(GetList(), permanent, folderPrefix);
    UpdateButtons();
}

int CListPage::SelectedCount() const
{
    return static_cast<int>(::SendMessageA(GetList(), LVM_GETSELECTEDCOUNT, 0, 0));
}

void CListPage::UpdateButtons()
{
    bool rows = !m_placeholder && ::SendMessageA(GetList(), LVM_GETITEMCOUNT, 0, 0) > 0;
    int selected = rows ? SelectedCount() : 0;
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
