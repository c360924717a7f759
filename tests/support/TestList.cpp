#include "support/TestList.h"

#include "lists/ListActions.h"

#include <commctrl.h>

TestList::TestList(const std::vector<int>& columnWidths, DWORD extraStyle)
    : m_window(::CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 400, nullptr, nullptr,
                                 nullptr, nullptr)),
      m_list(::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | extraStyle, 0, 0, 600, 300,
                               m_window, nullptr, nullptr, nullptr))
{
    for (size_t i = 0; i < columnWidths.size(); ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_WIDTH;
        column.cx = columnWidths[i];
        ::SendMessageA(m_list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

TestList::~TestList()
{
    ::DestroyWindow(m_window);
}

int TestList::AddRow(const std::vector<std::string>& cells, bool selected)
{
    int count = static_cast<int>(::SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0));
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    item.iItem = count;
    item.pszText = const_cast<char*>(cells.at(0).c_str());
    item.lParam = count + 1;
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    int row = static_cast<int>(::SendMessageA(m_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (size_t column = 1; column < cells.size(); ++column) {
        LVITEMA cell{};
        cell.iSubItem = static_cast<int>(column);
        cell.pszText = const_cast<char*>(cells[column].c_str());
        ::SendMessageA(m_list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    }
    return row;
}

void SelectRow(HWND list, int row, bool selected)
{
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::vector<std::string> ColumnTexts(HWND list, int column)
{
    std::vector<std::string> texts;
    int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row)
        texts.push_back(ListCtrlGetItemText(list, row, column));
    return texts;
}
