#include "support/TestList.h"

#include "framework/Win32.h"

#include <commctrl.h>

TestList::TestList(const std::vector<int>& columnWidths, int sizeColumn) : m_list(sizeColumn)
{
    WNDCLASSEXA wc{};
    wc.lpszClassName = "CorvaneTestList";
    RegisterWindowClass(wc);
    CreateEx(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{0, 0, 700, 400}, nullptr, nullptr);
    m_list.Attach(
        ::CreateWindowExA(0, WC_LISTVIEWA, "",
                          WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                          0, 0, 600, 300, m_hWnd, nullptr, nullptr, nullptr));
    for (size_t i = 0; i < columnWidths.size(); ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_WIDTH;
        column.cx = columnWidths[i];
        ::SendMessageA(m_list.GetSafeHwnd(), LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

bool TestList::OnNotify(const NMHDR& header, LRESULT& result)
{
    return m_list.OnNotify(header, result);
}

void TestList::AddRow(const std::vector<std::string>& cells, bool selected, std::uint64_t size)
{
    std::vector<std::string_view> views(cells.begin(), cells.end());
    views.resize(4);
    size_t row = m_list.Add({views[0], views[1], views[2], views[3]}, size);
    if (selected)
        m_list.Select(row);
}

void SelectRow(HWND list, int row, bool selected)
{
    framework::SelectListRow(list, row, selected);
}

std::string ShownText(HWND list, int row, int column)
{
    // The control copies at most the buffer it is given: grow until it fits.
    std::vector<char> text(260);
    for (;;) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        auto length = static_cast<size_t>(
            ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < text.size())
            return std::string(text.data(), length);
        text.resize(text.size() * 4);
    }
}

std::vector<std::string> ColumnTexts(HWND list, int column)
{
    std::vector<std::string> texts;
    int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row)
        texts.push_back(ShownText(list, row, column));
    return texts;
}
