#include "reports/FileTypesView.h"

#include "framework/Handle.h"
#include "framework/Path.h"
#include "framework/Win32.h"
#include "lists/FileText.h"
#include "resources/resource.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* kNoFiles = "No files found.";
// Over the page's file columns with the disk column shown: the share where
// the date stands, the count after it.
constexpr int kShareColumn = 4;
constexpr int kFilesColumn = 5;
constexpr int kFilesWidth = 60;
constexpr size_t kNamesShown = 3;

std::string ShareText(std::uint64_t part, std::uint64_t whole)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.1f%%",
                  whole ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0.0);
    return text;
}

}  // namespace

ReportsResultsPage::FileTypesView::FileTypesView(ReportsResultsPage& page)
    : m_page(page), m_map({[](std::uint32_t) {}, [] {}})
{
    page.OnControl(IDC_TYPES_BACK, BN_CLICKED, [this] { ShowTypes(m_filesOf); });
}

void ReportsResultsPage::FileTypesView::Create()
{
    HWND page = m_page.m_hWnd;
    m_splitter.Create(page, IDC_TYPES_SPLITTER);
    m_map.Create(page, IDC_TYPES_MAP);
    // In the tab order after the list.
    ::SetWindowPos(m_map.GetSafeHwnd(), ::GetDlgItem(page, IDC_RESULTS_LIST), 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

std::string ReportsResultsPage::FileTypesView::Title() const
{
    return m_filesOf.empty() ? Caption() : "Files of type " + ChosenNames(m_filesOf);
}

// Counted anew at each showing: what other views removed is left out.
void ReportsResultsPage::FileTypesView::Show(const std::string& selected)
{
    m_types = CountFileTypes(Tree());
    m_lit.clear();
    m_map.Refresh();
    m_shown = true;
    std::vector<bool> chosen(m_types.types.size());
    std::uint32_t node = selected.empty() ? SpaceTree::kNone : Tree().Find(selected);
    if (node != SpaceTree::kNone && m_types.typeOf[node] != FileTypes::kNoType)
        chosen[m_types.typeOf[node]] = true;
    ShowTypes(chosen);
    ::SetFocus(m_page.Results().GetSafeHwnd());
}

void ReportsResultsPage::FileTypesView::Hide()
{
    m_shown = false;
    m_filesOf.clear();
    SetColumns(true);
    ShowWindows(false);
}

void ReportsResultsPage::FileTypesView::SetColumns(bool files)
{
    m_page.ShowDiskColumn(true);
    bool typeColumns = m_page.Results().Captions().size() > kFilesColumn;
    if (files && typeColumns)
        m_page.RemoveColumn(kFilesColumn);
    if (!files && !typeColumns)
        m_page.InsertColumn(kFilesColumn, "Files", kFilesWidth, SortKind::Number);
    m_page.SetColumnHeading(0, files ? "FileName" : "Extension");
    m_page.SetColumnHeading(1, files ? "Folder" : "Class");
    m_page.SetColumnHeading(kShareColumn, files ? "Last Modified" : "% of total",
                            files ? SortKind::Text : SortKind::Number);
    m_page.ClearList();
}

// A row per type, largest first, the chosen ones selected.
void ReportsResultsPage::FileTypesView::ShowTypes(std::vector<bool> chosen)
{
    Fill(true);
    m_filesOf.clear();
    SetColumns(false);
    m_items.clear();
    ListModel& rows = m_page.FileList().Rows();
    for (std::uint32_t type = 0; type < m_types.types.size(); ++type) {
        const FileType& entry = m_types.types[type];
        size_t row = rows.Add({ExtensionText(entry.extension),
                               kFileClassNames[static_cast<int>(entry.fileClass)],
                               {},
                               {},
                               ShareText(entry.onDisk, m_types.onDisk),
                               FormatCount(entry.files)},
                              entry.size, RowPlace::End, RowKind::FileRow, entry.onDisk);
        // The class's swatch stands where a file's icon would.
        rows.SetImage(row, ListModel::kNoImage);
        m_items.push_back(type);
    }
    chosen.resize(m_types.types.size());
    auto first = std::find(chosen.begin(), chosen.end(), true);
    m_page.ShowReportRows(first == chosen.end() ? 0 : static_cast<size_t>(first - chosen.begin()), kNoFiles);
    for (auto type = first; type != chosen.end(); type = std::find(type + 1, chosen.end(), true))
        m_page.FileList().Select(static_cast<size_t>(type - chosen.begin()));
    Fill(false);
}

// The files of the chosen types, largest first.
void ReportsResultsPage::FileTypesView::ShowFiles()
{
    std::vector<bool> chosen = Chosen();
    if (std::find(chosen.begin(), chosen.end(), true) == chosen.end())
        return;
    Fill(true);
    m_filesOf = std::move(chosen);
    SetColumns(true);
    Light(m_filesOf);
    m_items = m_types.FilesOf(Tree(), m_filesOf);
    ListModel& rows = m_page.FileList().Rows();
    rows.Reserve(m_items.size());
    for (std::uint32_t node : m_items) {
        const SpaceTree::Node& entry = Tree().At(node);
        std::string path = Tree().Path(node);
        size_t slash = path.find_last_of('\\');
        std::string date =
            entry.changed ? FormatFileDate(framework::FileTimeFromTicks(SpaceTree::TicksOf(entry.changed))) : "";
        rows.Add({std::string_view(path).substr(slash + 1),
                  FolderText(std::string_view(path).substr(0, slash)),
                  {},
                  {},
                  date},
                 entry.size, RowPlace::End, RowKind::FileRow, entry.onDisk);
    }
    m_page.ShowReportRows(0, kNoFiles);
    Fill(false);
}

// The list is hidden while it fills (its changes are taken in once it shows
// again), then shown with the map.
void ReportsResultsPage::FileTypesView::Fill(bool starting)
{
    HWND list = m_page.Results().GetSafeHwnd();
    if (starting) {
        ::ShowWindow(list, SW_HIDE);
        return;
    }
    ShowWindows(true);
    ::ShowWindow(list, SW_SHOW);
    // The focus the hidden list or Back gave up goes back to the list.
    HWND focus = ::GetFocus();
    if (!focus || focus == m_page.m_hWnd)
        ::SetFocus(list);
    OnSelection();
}

void ReportsResultsPage::FileTypesView::ShowWindows(bool shown)
{
    HWND page = m_page.m_hWnd;
    HWND list = m_page.Results().GetSafeHwnd();
    for (HWND window : {m_splitter.GetSafeHwnd(), m_map.GetSafeHwnd()})
        ::ShowWindow(window, shown ? SW_SHOW : SW_HIDE);
    bool back = shown && !m_filesOf.empty();
    ::ShowWindow(::GetDlgItem(page, IDC_TYPES_BACK), back ? SW_SHOW : SW_HIDE);
    if (shown) {
        m_splitter.Arrange(m_area, list, m_map.GetSafeHwnd());
    } else {
        ::SetWindowPos(list, nullptr, m_area.left, m_area.top, m_area.right - m_area.left, m_area.bottom - m_area.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        ::SetDlgItemTextW(page, IDC_FOUND, framework::WideText(FoundText(m_page.m_analysis)).c_str());
    }
    m_page.PlaceOnFoundLine(m_area, back ? std::vector<int>{IDC_TYPES_BACK} : std::vector<int>{});
}

void ReportsResultsPage::FileTypesView::Layout(const RECT& list)
{
    m_area = list;
    if (m_shown)
        ShowWindows(true);
}

std::vector<bool> ReportsResultsPage::FileTypesView::Chosen() const
{
    if (!m_filesOf.empty())
        return m_filesOf;
    std::vector<bool> chosen(m_types.types.size());
    if (m_page.HasResults()) {
        for (size_t row : m_page.Results().Selected())
            chosen[m_items[m_page.Rows().Data(row) - 1]] = true;
    }
    return chosen;
}

// The chosen types lit on the map; in a type's files, the file chosen framed.
void ReportsResultsPage::FileTypesView::OnSelection()
{
    if (m_filesOf.empty()) {
        Light(Chosen());
    } else {
        std::vector<size_t> rows = m_page.HasResults() ? m_page.Results().Selected() : std::vector<size_t>();
        m_map.Select(rows.empty() ? SpaceTree::kNone : m_items[m_page.Rows().Data(rows.front()) - 1]);
    }
    ShowStatus();
}

// The list tells of every row's change: the map is lit once per choice.
void ReportsResultsPage::FileTypesView::Light(const std::vector<bool>& chosen)
{
    if (chosen == m_lit)
        return;
    bool any = std::find(chosen.begin(), chosen.end(), true) != chosen.end();
    m_map.Light(any ? m_types.NodesOf(chosen) : std::vector<bool>());
    m_lit = chosen;
}

std::string ReportsResultsPage::FileTypesView::ChosenNames(const std::vector<bool>& chosen) const
{
    std::string names;
    size_t count = 0;
    for (size_t type = 0; type < chosen.size(); ++type) {
        if (chosen[type] && ++count <= kNamesShown)
            names += (count > 1 ? ", " : "") + ExtensionText(m_types.types[type].extension);
    }
    if (count > kNamesShown)
        names += " and " + FormatCount(count - kNamesShown) + " more";
    return names;
}

// How much the chosen types hold, in the line above the list.
void ReportsResultsPage::FileTypesView::ShowStatus()
{
    std::vector<bool> chosen = Chosen();
    std::uint64_t onDisk = 0, files = 0;
    for (size_t type = 0; type < chosen.size(); ++type) {
        if (chosen[type]) {
            onDisk += m_types.types[type].onDisk;
            files += m_types.types[type].files;
        }
    }
    std::string text = files == 0 && m_filesOf.empty()
                           ? FoundText(m_page.m_analysis)
                           : (m_filesOf.empty() ? ChosenNames(chosen) : Title()) + ": " + FormatSpace(onDisk) +
                                 " on disk in " + CountOf(files, "file") + ", " + ShareText(onDisk, m_types.onDisk) +
                                 " of the total.";
    ::SetDlgItemTextW(m_page.m_hWnd, IDC_FOUND, framework::WideText(text).c_str());
}

int ReportsResultsPage::FileTypesView::SelectedCount() const
{
    return m_filesOf.empty() ? 0 : m_page.ListPage::SelectedCount();
}

std::vector<std::string> ReportsResultsPage::FileTypesView::SelectedPaths() const
{
    std::vector<std::string> paths;
    if (!m_filesOf.empty() && m_page.HasResults()) {
        for (size_t row : m_page.Results().Selected())
            paths.push_back(m_page.Results().Path(row));
    }
    return paths;
}

void ReportsResultsPage::FileTypesView::RemoveSelected(bool permanent)
{
    if (!m_filesOf.empty())
        m_page.ListPage::RemoveSelected(permanent);
}

// After files of the list went: the totals counted again, the chosen types kept by their extensions.
void ReportsResultsPage::FileTypesView::Refresh()
{
    bool files = !m_filesOf.empty();
    std::vector<bool> before = Chosen();
    std::vector<std::string> kept;
    for (size_t type = 0; type < before.size(); ++type) {
        if (before[type])
            kept.push_back(m_types.types[type].extension);
    }
    m_types = CountFileTypes(Tree());
    m_lit.clear();
    m_map.Refresh();
    std::vector<bool> chosen(m_types.types.size());
    bool any = false;
    for (const std::string& extension : kept) {
        std::uint32_t type = m_types.Find(extension);
        if (type != FileTypes::kNoType)
            any = chosen[type] = true;
    }
    if (!files || !any)
        return ShowTypes(chosen);
    m_filesOf = std::move(chosen);
    Light(m_filesOf);
    OnSelection();
}

bool ReportsResultsPage::FileTypesView::OnListNotify(const NMHDR& header, LRESULT& result)
{
    switch (header.code) {
    case NM_CUSTOMDRAW:
        if (!m_filesOf.empty())
            return false;
        result = DrawSwatch(reinterpret_cast<const NMLVCUSTOMDRAW&>(header));
        return true;
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED:
        if (::IsWindowVisible(header.hwndFrom))
            OnSelection();
        return false;  // the page's buttons follow too
    case NM_DBLCLK:
        if (!m_filesOf.empty())
            return false;
        ShowFiles();
        return true;
    case LVN_KEYDOWN:
        if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey != VK_BACK || m_filesOf.empty())
            return false;
        ShowTypes(m_filesOf);
        return true;
    }
    return false;
}

LRESULT ReportsResultsPage::FileTypesView::DrawSwatch(const NMLVCUSTOMDRAW& draw) const
{
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
        return CDRF_NOTIFYPOSTPAINT;
    size_t row = draw.nmcd.dwItemSpec;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPOSTPAINT || !m_page.HasResults() || row >= m_page.Rows().Count())
        return CDRF_DODEFAULT;
    RECT swatch{};
    swatch.left = LVIR_ICON;
    ::SendMessageA(m_page.Results().GetSafeHwnd(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&swatch));
    int inset = std::max<int>(1, (swatch.bottom - swatch.top) / 6);
    ::InflateRect(&swatch, -inset, -inset);
    FileClass fileClass = m_types.types[m_items[m_page.Rows().Data(row) - 1]].fileClass;
    framework::GdiObject<HBRUSH> brush(::CreateSolidBrush(FileClassColour(fileClass)));
    ::FillRect(draw.nmcd.hdc, &swatch, brush.get());
    ::FrameRect(draw.nmcd.hdc, &swatch, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    return CDRF_DODEFAULT;
}
