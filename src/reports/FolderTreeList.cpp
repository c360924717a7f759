#include "reports/FolderTreeList.h"

#include "framework/Application.h"
#include "framework/Path.h"
#include "framework/Win32.h"
#include "lists/ListExport.h"
#include "lists/ListModel.h"
#include "lists/PrintList.h"

#include <algorithm>

namespace {

constexpr int kIndent = 16;  // a level, and the glyph's and the icon's room
constexpr int kGlyph = 9;
constexpr int kPadding = 4;
constexpr COLORREF kBarColour = RGB(170, 200, 240);
constexpr size_t kNoRow = FolderTreeRows::kNoRow;

struct TreeColumnInfo {
    const char* caption;
    int width;
    bool right;  // numbers stand right
};

constexpr TreeColumnInfo kColumns[kTreeColumnCount] = {
    {"Name", 220, false},      {"Size", 90, true},  {"On disk", 70, true},
    {"% of parent", 80, true}, {"Files", 60, true}, {"Last change", 80, false},
};

// The rows shown, as a print takes them.
class PrintedTree : public PrintedRows {
public:
    PrintedTree(const FolderTreeRows& rows, std::function<int(size_t)> icon) : m_rows(rows), m_icon(std::move(icon)) {}
    size_t Count() const override { return m_rows.Count(); }
    std::string Text(size_t row, int column) const override
    {
        return m_rows.Text(row, static_cast<TreeColumn>(column));
    }
    int Icon(size_t row) override { return m_icon(row); }
    int Indent(size_t row) const override { return m_rows.Depth(row); }

private:
    const FolderTreeRows& m_rows;
    std::function<int(size_t)> m_icon;
};

void SetState(HWND list, WPARAM row, UINT state, UINT mask)
{
    LVITEMA item{};
    item.state = state;
    item.stateMask = mask;
    ::SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void Fill(HDC dc, RECT rect, int colour)
{
    ::FillRect(dc, &rect, ::GetSysColorBrush(colour));
}

// A box with a plus, or a minus when the folder is open.
void DrawGlyph(HDC dc, const RECT& room, bool open)
{
    int left = room.left + (kIndent - kGlyph) / 2, top = (room.top + room.bottom - kGlyph) / 2;
    RECT box{left, top, left + kGlyph, top + kGlyph};
    Fill(dc, box, COLOR_WINDOW);
    ::FrameRect(dc, &box, ::GetSysColorBrush(COLOR_GRAYTEXT));
    int middle = kGlyph / 2;
    Fill(dc, {left + 2, top + middle, left + kGlyph - 2, top + middle + 1}, COLOR_WINDOWTEXT);
    if (!open)
        Fill(dc, {left + middle, top + 2, left + middle + 1, top + kGlyph - 2}, COLOR_WINDOWTEXT);
}

void DrawCellText(HDC dc, const std::string& text, RECT rect, bool right)
{
    rect.left += kPadding;
    rect.right -= kPadding;
    std::wstring wide = framework::WideText(text);
    ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect,
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | (right ? DT_RIGHT : DT_LEFT));
}

}  // namespace

CFolderTreeList::CFolderTreeList(Events events) : m_events(std::move(events)), m_bar(::CreateSolidBrush(kBarColour)) {}

bool CFolderTreeList::Create(HWND parent, UINT id)
{
    WNDCLASSEXA wc{};
    wc.lpszClassName = "CorvaneFolderTree";
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    RegisterWindowClass(wc);
    if (!CreateEx(WS_EX_CONTROLPARENT, wc.lpszClassName, "", WS_CHILD | WS_TABSTOP, RECT{}, parent,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id))))
        return false;
    m_list = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS |
                                   LVS_SHAREIMAGELISTS,
                               0, 0, 0, 0, m_hWnd, nullptr, nullptr, nullptr);
    ::SendMessageA(m_list, WM_SETFONT, ::SendMessageA(parent, WM_GETFONT, 0, 0), FALSE);
    ::SendMessageA(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    // The shell's icons size the rows; the shell's list outlives the control.
    ::SendMessageA(m_list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(GetSysImageList()));
    AddColumns();
    return m_list != nullptr;
}

void CFolderTreeList::AddColumns()
{
    for (int i = 0; i < kTreeColumnCount; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = kColumns[i].right && i > 0 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.pszText = const_cast<char*>(kColumns[i].caption);
        column.cx = kColumns[i].width;
        ::SendMessageA(m_list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
}

void CFolderTreeList::SetTree(const SpaceTree* tree)
{
    Forget(Selected(), Focused());
    m_rows.Attach(tree);
    m_iconOf.clear();
    Show(m_rows.Count() ? std::vector<size_t>{0} : std::vector<size_t>{}, m_rows.Count() ? 0 : kNoRow);
    ::SendMessageA(m_list, LVM_ENSUREVISIBLE, 0, FALSE);
}

void CFolderTreeList::Refresh()
{
    Rebuild([this] { m_rows.Refresh(); });
}

int CFolderTreeList::SelectedCount() const
{
    return static_cast<int>(::SendMessageA(m_list, LVM_GETSELECTEDCOUNT, 0, 0));
}

// Each question for the next selected row walks the rows up to it: one row
// selected with the focus is answered at once, and a walk stops at the last.
std::vector<size_t> CFolderTreeList::Selected() const
{
    auto count = static_cast<size_t>(SelectedCount());
    auto focus = static_cast<int>(::SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (count == 1 && focus >= 0 && static_cast<size_t>(focus) < m_rows.Count() &&
        ::SendMessageA(m_list, LVM_GETITEMSTATE, static_cast<WPARAM>(focus), LVIS_SELECTED))
        return {static_cast<size_t>(focus)};
    std::vector<size_t> rows;
    for (int row = -1; rows.size() < count;) {
        row = static_cast<int>(
            ::SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), MAKELPARAM(LVNI_SELECTED, 0)));
        if (row < 0 || static_cast<size_t>(row) >= m_rows.Count())
            break;
        rows.push_back(static_cast<size_t>(row));
    }
    return rows;
}

size_t CFolderTreeList::Focused() const
{
    auto row = static_cast<int>(::SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (row >= 0 && static_cast<size_t>(row) < m_rows.Count())
        return static_cast<size_t>(row);
    std::vector<size_t> selected = Selected();
    return selected.empty() ? kNoRow : selected.front();
}

void CFolderTreeList::SelectNode(std::uint32_t node)
{
    if (!m_rows.Tree() || node == SpaceTree::kNone)
        return;
    Forget(Selected(), Focused());
    ShowOnly(m_rows.Reveal(node));
}

void CFolderTreeList::SelectRow(size_t row)
{
    Forget(Selected(), Focused());
    ShowOnly(row);
}

void CFolderTreeList::ShowOnly(size_t row)
{
    if (row == kNoRow) {
        Show({}, kNoRow);
        return;
    }
    Show({row}, row);
    ::SendMessageA(m_list, LVM_ENSUREVISIBLE, row, FALSE);
}

void CFolderTreeList::Toggle(size_t row)
{
    if (row >= m_rows.Count())
        return;
    Reshape(row, [&] {
        if (m_rows.IsOpen(row))
            return -static_cast<std::ptrdiff_t>(m_rows.Close(row));
        return static_cast<std::ptrdiff_t>(m_rows.Open(row));
    });
}

void CFolderTreeList::OpenAll(size_t row)
{
    if (row >= m_rows.Count())
        return;
    framework::WaitCursor wait;
    // What was open below the row closes first: its selection passes to the row.
    Reshape(row, [&] { return -static_cast<std::ptrdiff_t>(m_rows.Close(row)); });
    Reshape(row, [&] { return static_cast<std::ptrdiff_t>(m_rows.OpenAll(row)); });
}

void CFolderTreeList::SortBy(TreeColumn column)
{
    // The same column turns the order round; another starts with the
    // largest, newest or A first.
    bool descending = column == m_rows.SortColumn() ? !m_rows.SortDescending() : column != TreeColumn::Name;
    framework::WaitCursor wait;
    Rebuild([&] { m_rows.Sort(column, descending); });
}

void CFolderTreeList::Reshape(size_t row, const std::function<std::ptrdiff_t()>& change)
{
    std::vector<size_t> selected = Selected();
    size_t focus = Focused();
    Forget(selected, focus);
    std::ptrdiff_t delta = change();
    auto moved = [&](size_t at) {
        if (at == kNoRow || at <= row)
            return at;
        if (delta < 0 && at <= row + static_cast<size_t>(-delta))
            return row;
        return static_cast<size_t>(static_cast<std::ptrdiff_t>(at) + delta);
    };
    for (size_t& at : selected)
        at = moved(at);
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    Show(selected, moved(focus));
}

void CFolderTreeList::Rebuild(const std::function<void()>& change)
{
    const SpaceTree* tree = m_rows.Tree();
    if (!tree)
        return;
    std::vector<bool> marked(tree->Count());
    std::vector<size_t> before = Selected();
    for (size_t row : before)
        marked[m_rows.Node(row)] = true;
    size_t focus = Focused();
    std::uint32_t focusNode = focus == kNoRow ? SpaceTree::kNone : m_rows.Node(focus);
    Forget(before, focus);
    change();
    std::vector<size_t> selected;
    for (size_t row = 0; row < m_rows.Count(); ++row) {
        if (marked[m_rows.Node(row)])
            selected.push_back(row);
    }
    Show(selected, focusNode == SpaceTree::kNone ? kNoRow : m_rows.RowOf(focusNode));
}

// The control's selection, taken away quietly before the rows change. Row
// by row: a change of every row at once walks every row.
void CFolderTreeList::Forget(const std::vector<size_t>& selected, size_t focus)
{
    m_quiet = true;
    for (size_t row : selected)
        SetState(m_list, row, 0, LVIS_SELECTED);
    if (focus != kNoRow)
        SetState(m_list, focus, 0, LVIS_FOCUSED);
    m_quiet = false;
}

// The control learns the count and the selection anew, quietly, then says it once.
void CFolderTreeList::Show(const std::vector<size_t>& selected, size_t focus)
{
    m_quiet = true;
    if (m_counted != m_rows.Count()) {
        m_counted = m_rows.Count();
        ::SendMessageA(m_list, LVM_SETITEMCOUNT, m_counted, LVSICF_NOSCROLL);
    }
    if (!selected.empty() && selected.size() == m_rows.Count()) {
        SetState(m_list, static_cast<WPARAM>(-1), LVIS_SELECTED, LVIS_SELECTED);
    } else {
        for (size_t row : selected)
            SetState(m_list, row, LVIS_SELECTED, LVIS_SELECTED);
    }
    if (focus != kNoRow) {
        SetState(m_list, focus, LVIS_FOCUSED, LVIS_FOCUSED);
        ::SendMessageA(m_list, LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(focus));
    }
    m_quiet = false;
    ::InvalidateRect(m_list, nullptr, FALSE);
    m_events.selectionChanged();
}

int CFolderTreeList::Icon(size_t row)
{
    std::uint32_t node = m_rows.Node(row);
    if (m_rows.Tree()->At(node).folder)
        return m_icons.FolderIndex();
    auto [found, added] = m_iconOf.try_emplace(node, 0);
    if (added)
        found->second = m_icons.IndexOf(m_rows.Path(row));
    return found->second;
}

RECT CFolderTreeList::GlyphRect(size_t row) const
{
    RECT bounds{LVIR_BOUNDS, 0, 0, 0};
    ::SendMessageA(m_list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
    bounds.left += kPadding / 2 + m_rows.Depth(row) * kIndent;
    bounds.right = bounds.left + kIndent;
    return bounds;
}

LRESULT CFolderTreeList::OnCustomDraw(const NMLVCUSTOMDRAW& draw)
{
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        DrawRow(draw.nmcd.hdc, draw.nmcd.dwItemSpec);
        return CDRF_SKIPDEFAULT;
    }
    return CDRF_DODEFAULT;
}

void CFolderTreeList::DrawRow(HDC dc, size_t row)
{
    if (row >= m_rows.Count())
        return;
    RECT bounds{LVIR_BOUNDS, 0, 0, 0};
    ::SendMessageA(m_list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
    auto state = static_cast<UINT>(::SendMessageA(m_list, LVM_GETITEMSTATE, row, LVIS_SELECTED | LVIS_FOCUSED));
    bool focused = ::GetFocus() == m_list, selected = state & LVIS_SELECTED;
    Fill(dc, bounds, !selected ? COLOR_WINDOW : focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(selected && focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    int left = bounds.left;
    for (int column = 0; column < kTreeColumnCount; ++column) {
        int width = static_cast<int>(::SendMessageA(m_list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
        DrawCell(dc, row, column, {left, bounds.top, left + width, bounds.bottom}, selected);
        left += width;
    }
    if ((state & LVIS_FOCUSED) && focused)
        ::DrawFocusRect(dc, &bounds);
}

void CFolderTreeList::DrawCell(HDC dc, size_t row, int column, RECT cell, bool selected)
{
    if (column == 0) {
        DrawName(dc, row, cell);
        return;
    }
    // The bar of the row's share of its folder, behind the size.
    if (static_cast<TreeColumn>(column) == TreeColumn::Size && !selected) {
        int room = cell.right - cell.left - 2;
        int width = static_cast<int>(room * m_rows.Share(row));
        if (width > 0) {
            RECT bar{cell.left + 1, cell.top + 2, cell.left + 1 + width, cell.bottom - 2};
            ::FillRect(dc, &bar, m_bar.get());
        }
    }
    DrawCellText(dc, m_rows.Text(row, static_cast<TreeColumn>(column)), cell, kColumns[column].right);
}

// Indent, glyph, icon and name, as far as the column has room.
void CFolderTreeList::DrawName(HDC dc, size_t row, RECT cell)
{
    RECT glyph = GlyphRect(row);
    if (glyph.right <= cell.right && m_rows.CanOpen(row))
        DrawGlyph(dc, glyph, m_rows.IsOpen(row));
    int icon = glyph.right;
    if (icon + kIndent <= cell.right)
        ::ImageList_Draw(GetSysImageList(), Icon(row), dc, icon, (cell.top + cell.bottom - kIndent) / 2,
                         ILD_TRANSPARENT);
    cell.left = std::min<LONG>(icon + kIndent, cell.right);
    DrawCellText(dc, m_rows.Text(row, TreeColumn::Name), cell, false);
}

void CFolderTreeList::OnKeyDown(WORD key)
{
    size_t row = Focused();
    if (key == 'C' && ::GetKeyState(VK_CONTROL) < 0) {
        if (!CopySelected())
            ::MessageBeep(MB_ICONWARNING);
        return;
    }
    if (row == kNoRow)
        return;
    bool open = m_rows.IsOpen(row);
    switch (key) {
    case VK_RIGHT:
        if (open)
            SelectRow(row + 1);
        else if (m_rows.CanOpen(row))
            Toggle(row);
        break;
    case VK_LEFT:
        if (open)
            Toggle(row);
        else if (size_t parent = m_rows.ParentRow(row); parent != kNoRow)
            SelectRow(parent);
        break;
    case VK_MULTIPLY:
        OpenAll(row);
        break;
    }
}

// A click on a folder's glyph opens or closes it, as does a double-click
// elsewhere on its row; a double-click on a file opens the file.
void CFolderTreeList::OnClick(const NMITEMACTIVATE& click, bool twice)
{
    if (click.iItem < 0 || static_cast<size_t>(click.iItem) >= m_rows.Count())
        return;
    auto row = static_cast<size_t>(click.iItem);
    RECT glyph = GlyphRect(row);
    bool onGlyph = click.ptAction.x >= glyph.left && click.ptAction.x < glyph.right;
    if (!m_rows.Tree()->At(m_rows.Node(row)).folder) {
        if (twice)
            m_events.openFile(m_rows.Node(row));
    } else if (onGlyph != twice) {
        Toggle(row);
    }
}

int CFolderTreeList::FindByPrefix(std::string_view prefix, int start) const
{
    size_t count = m_rows.Count();
    for (size_t i = 0; i < count; ++i) {
        size_t row = (static_cast<size_t>(std::max(start, 0)) + i) % count;
        std::string name = m_rows.Text(row, TreeColumn::Name);
        if (name.size() >= prefix.size() && CompareText(std::string_view(name).substr(0, prefix.size()), prefix) == 0)
            return static_cast<int>(row);
    }
    return -1;
}

bool CFolderTreeList::OnNotify(const NMHDR& header, LRESULT& result)
{
    if (header.hwndFrom != m_list)
        return false;
    result = 0;
    switch (header.code) {
    case NM_CUSTOMDRAW:
        result = OnCustomDraw(reinterpret_cast<const NMLVCUSTOMDRAW&>(header));
        return true;
    case LVN_GETDISPINFOA: {
        // Asked for the texts (tips, accessibility): the names, as the rows draw them.
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(&header))->item;
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0 &&
            static_cast<size_t>(item.iItem) < m_rows.Count()) {
            std::string text = m_rows.Text(static_cast<size_t>(item.iItem), static_cast<TreeColumn>(item.iSubItem));
            lstrcpynA(item.pszText, text.c_str(), item.cchTextMax);
        }
        return true;
    }
    case LVN_ODFINDITEMA: {
        const auto& find = reinterpret_cast<const NMLVFINDITEMA&>(header);
        result = find.lvfi.psz ? FindByPrefix(find.lvfi.psz, find.iStart) : -1;
        return true;
    }
    case LVN_ODFINDITEMW: {
        const auto& find = reinterpret_cast<const NMLVFINDITEMW&>(header);
        result = find.lvfi.psz ? FindByPrefix(framework::NarrowText(find.lvfi.psz), find.iStart) : -1;
        return true;
    }
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED:
        if (!m_quiet)
            m_events.selectionChanged();
        return true;
    case LVN_COLUMNCLICK:
        SortBy(static_cast<TreeColumn>(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem));
        return true;
    case LVN_KEYDOWN:
        OnKeyDown(reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey);
        return true;
    case NM_CLICK:
    case NM_DBLCLK:
        OnClick(reinterpret_cast<const NMITEMACTIVATE&>(header), header.code == NM_DBLCLK);
        return true;
    }
    return false;
}

LRESULT CFolderTreeList::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SIZE:
        ::MoveWindow(m_list, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        ::SetFocus(m_list);
        return 0;
    case WM_DESTROY:
        ::SendMessageA(m_list, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
        break;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

std::string CFolderTreeList::Csv() const
{
    std::string csv = CsvStart();
    AppendCsvRecord(csv, {"Path", "Size", "On disk", "Files", "Last change"});
    const SpaceTree* tree = m_rows.Tree();
    for (size_t row = 0; row < m_rows.Count(); ++row) {
        const SpaceTree::Node& node = tree->At(m_rows.Node(row));
        bool counted = !node.linked;
        bool known = counted && node.onDisk != framework::kUnknownBytes;
        std::string files = node.folder ? std::to_string(m_rows.Files(m_rows.Node(row))) : std::string();
        AppendCsvRecord(csv, {m_rows.Path(row), counted ? std::to_string(node.size) : std::string(),
                              known ? std::to_string(node.onDisk) : std::string(), files,
                              IsoDateText(m_rows.Text(row, TreeColumn::Changed))});
    }
    return csv;
}

bool CFolderTreeList::CopySelected() const
{
    std::vector<size_t> rows = Selected();
    if (rows.empty())
        return true;
    std::vector<std::string> captions{"Path"};
    for (int column = 1; column < kTreeColumnCount; ++column)
        captions.emplace_back(kColumns[column].caption);
    return CopyText(m_list, TabbedText(captions, rows.size(), [&](size_t row, size_t column) {
                        return column == 0 ? m_rows.Path(rows[row])
                                           : m_rows.Text(rows[row], static_cast<TreeColumn>(column));
                    }));
}

void CFolderTreeList::Print(PrintTarget& target, int pageWidth, int pageHeight)
{
    PrintedTree rows(m_rows, [this](size_t row) { return Icon(row); });
    PrintRowsPages(target, m_list, rows, pageWidth, pageHeight);
}
