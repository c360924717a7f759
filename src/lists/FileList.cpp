#include "lists/FileList.h"

#include "framework/Clock.h"
#include "framework/Handle.h"
#include "framework/Path.h"
#include "framework/Win32.h"
#include "lists/FileText.h"

#include <algorithm>
#include <cstring>

namespace {

// The control's own copy of a text: as much as its buffer holds, always ended.
void CopyText(const std::string& text, char* buffer, int capacity) noexcept
{
    if (!buffer || capacity <= 0)
        return;
    size_t length = std::min(text.size(), static_cast<size_t>(capacity - 1));
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

void CopyText(const std::string& text, wchar_t* buffer, int capacity) noexcept
{
    if (!buffer || capacity <= 0)
        return;
    int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), buffer, capacity - 1);
    buffer[length > 0 ? length : 0] = L'\0';
}

// The letters A to Z taken as a to z.
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) noexcept
{
    return text.size() >= prefix.size() && CompareText(text.substr(0, prefix.size()), prefix) == 0;
}

}  // namespace

std::string CFileList::Path(size_t row) const
{
    if (!m_folderPrefix.empty())
        return m_folderPrefix + m_rows.Text(row, 0);
    return JoinPath(m_rows.Text(row, 1), m_rows.Text(row, 0));
}

std::vector<std::string> CFileList::Captions() const
{
    std::vector<std::string> captions;
    for (int column = 0;; ++column) {
        char text[256] = "";
        LVCOLUMNA item{};
        item.mask = LVCF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        if (!::SendMessageA(m_list, LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item)))
            return captions;
        captions.emplace_back(text);
    }
}

int CFileList::HeadingWidth(int column) const
{
    HWND header = ListView_GetHeader(m_list);
    char text[256] = "";
    HDITEMA item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (!header || !::SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item)))
        return 0;
    framework::WindowDc dc(header);
    auto font = reinterpret_cast<HFONT>(::SendMessageA(header, WM_GETFONT, 0, 0));
    framework::SelectObjectGuard selected(dc.get(), font ? font : ::GetStockObject(SYSTEM_FONT));
    SIZE extent{};
    ::GetTextExtentPoint32A(dc.get(), text, static_cast<int>(std::strlen(text)), &extent);
    // The heading keeps a margin either side of its text, and one pixel for the divider.
    auto margin = static_cast<int>(::SendMessageA(header, HDM_GETBITMAPMARGIN, 0, 0));
    return extent.cx + 2 * margin + 1;
}

void CFileList::Clear()
{
    m_rows.Clear();
    // A new count costs the control its scroll bar, even when it holds no rows already.
    if (::SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0) != 0)
        SetCount(0);
}

size_t CFileList::Add(std::initializer_list<std::string_view> cells, std::uint64_t size, RowPlace place)
{
    size_t row = m_rows.Add(cells, size, place);
    // A row put among the others moves the rows on show.
    if (row + 1 < m_rows.Count())
        ::InvalidateRect(m_list, nullptr, FALSE);
    // Each new count costs the control its scroll bar (milliseconds under
    // some window systems): rows past the visible ones are counted in now
    // and then, and Show brings the count up to date.
    if (row < m_visibleEnd || framework::GetClock().tickCount() - m_countedAt >= kCountEveryMs)
        SetCount(LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    return row;
}

void CFileList::AddMessage(std::string_view text)
{
    m_rows.AddMessage(text);
    SetCount(0);
}

void CFileList::Show()
{
    SetCount(0);
}

void CFileList::SetCount(DWORD flags) noexcept
{
    ::SendMessageA(m_list, LVM_SETITEMCOUNT, m_rows.Count(), flags);
    m_countedAt = framework::GetClock().tickCount();
    m_visibleEnd = static_cast<size_t>(::SendMessageA(m_list, LVM_GETTOPINDEX, 0, 0) +
                                       ::SendMessageA(m_list, LVM_GETCOUNTPERPAGE, 0, 0) + 1);
}

int CFileList::Icon(size_t row)
{
    int image = m_rows.Image(row);
    if (image == ListModel::kIconNotYet) {
        image = m_rows.IsFolder(row) ? m_icons.FolderIndex() : m_icons.IndexOf(Path(row));
        m_rows.SetImage(row, image);
    }
    return image;
}

int CFileList::NextSelected(int after) const noexcept
{
    return static_cast<int>(
        ::SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(after), MAKELPARAM(LVNI_SELECTED, 0)));
}

std::vector<size_t> CFileList::Selected() const
{
    std::vector<size_t> rows;
    for (int row = NextSelected(-1); row >= 0 && static_cast<size_t>(row) < m_rows.Count(); row = NextSelected(row))
        rows.push_back(static_cast<size_t>(row));
    return rows;
}

void CFileList::Select(size_t row, bool selected) noexcept
{
    framework::SelectListRow(m_list, static_cast<int>(row), selected);
}

// The control keeps the selection by place: put it back on the same rows.
void CFileList::Reselect(const std::vector<size_t>& rows) noexcept
{
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    if (!rows.empty() && rows.size() == m_rows.Count()) {
        Select(static_cast<size_t>(-1));
    } else {
        for (size_t row : rows)
            Select(row);
    }
    ::InvalidateRect(m_list, nullptr, FALSE);
}

void CFileList::Sort(int column, SortKind kind, bool ascending)
{
    std::vector<bool> selected(m_rows.Count());
    for (size_t row : Selected())
        selected[row] = true;
    std::vector<size_t> before = m_rows.Sort(column, kind, ascending);
    std::vector<size_t> rows;
    for (size_t row = 0; row < before.size(); ++row) {
        if (selected[before[row]])
            rows.push_back(row);
    }
    Reselect(rows);
}

void CFileList::Remove(const std::vector<size_t>& rows)
{
    if (rows.empty())
        return;
    std::vector<size_t> kept;
    size_t removed = 0;
    for (size_t row : Selected()) {
        while (removed < rows.size() && rows[removed] < row)
            ++removed;
        if (removed < rows.size() && rows[removed] == row)
            continue;
        kept.push_back(row - removed);
    }
    m_rows.Remove(rows);
    SetCount(LVSICF_NOSCROLL);
    Reselect(kept);
}

int CFileList::FindByPrefix(std::string_view prefix, int start, bool wrap) const
{
    int count = static_cast<int>(m_rows.Count());
    if (count == 0)
        return -1;
    start = start < 0 || start >= count ? 0 : start;
    for (int i = 0; i < count; ++i) {
        int row = start + i;
        if (row >= count) {
            if (!wrap)
                break;
            row -= count;
        }
        if (StartsWithIgnoringCase(m_rows.Text(static_cast<size_t>(row), 0), prefix))
            return row;
    }
    return -1;
}

bool CFileList::OnNotify(const NMHDR& header, LRESULT& result)
{
    auto answer = [this](auto& item, auto copyText) {
        if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= m_rows.Count())
            return;
        auto row = static_cast<size_t>(item.iItem);
        if (item.mask & LVIF_TEXT)
            copyText(m_rows.Text(row, item.iSubItem), item.pszText, item.cchTextMax);
        if (item.mask & LVIF_IMAGE)
            item.iImage = item.iSubItem == 0 ? Icon(row) : ListModel::kNoImage;
        if (item.mask & LVIF_PARAM)
            item.lParam = m_rows.Data(row);
    };
    switch (header.code) {
    case LVN_GETDISPINFOA:
        answer(reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(&header))->item,
               [](const std::string& text, char* buffer, int capacity) { CopyText(text, buffer, capacity); });
        result = 0;
        return true;
    case LVN_GETDISPINFOW:
        answer(reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header))->item,
               [](const std::string& text, wchar_t* buffer, int capacity) { CopyText(text, buffer, capacity); });
        result = 0;
        return true;
    case LVN_ODFINDITEMA: {
        const auto& find = reinterpret_cast<const NMLVFINDITEMA&>(header);
        bool byText = (find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && find.lvfi.psz;
        result = byText ? FindByPrefix(find.lvfi.psz, find.iStart, find.lvfi.flags & LVFI_WRAP) : -1;
        return true;
    }
    case LVN_ODFINDITEMW: {
        const auto& find = reinterpret_cast<const NMLVFINDITEMW&>(header);
        bool byText = (find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && find.lvfi.psz;
        result =
            byText ? FindByPrefix(framework::NarrowText(find.lvfi.psz), find.iStart, find.lvfi.flags & LVFI_WRAP) : -1;
        return true;
    }
    }
    return false;
}
