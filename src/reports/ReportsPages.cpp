#include "reports/ReportsPages.h"

#include "settings/SettingsStore.h"
#include "framework/Drives.h"
#include "framework/Application.h"
#include "framework/DataExchange.h"
#include "framework/Path.h"
#include "framework/Seams.h"
#include "framework/Text.h"
#include "framework/Win32.h"
#include "lists/FileText.h"
#include "lists/ListActions.h"
#include "lists/PrintList.h"
#include "pages/Layout.h"
#include "reports/KeptAnalysis.h"
#include "resources/resource.h"
#include "working/WorkingDlg.h"

namespace {

constexpr const char* kSection = "ReportsPage1";
constexpr const char* kNothingFound = "No matching files found.";
constexpr const char* kNothingEarlier = "No earlier analysis of this folder to compare with.";
constexpr int kNameWidth = 130;
// The map is the last entry of the Report list, after the analysis's reports.
constexpr int kSpaceMap = kReportCount;
// The Report list's entries are the reports' indices.
constexpr int kLargestFolders = static_cast<int>(ReportId::LargestFolders);
constexpr int kGrownFolders = static_cast<int>(ReportId::GrownFolders);
constexpr const char* kSpaceMapCaption = "Space map";
constexpr int kStatusHeight = 16;
constexpr int kMessageWidth = 256;

bool IsChecked(HWND dialog, int id)
{
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

}  // namespace

std::string& AnalysisTarget()
{
    static std::string target;
    return target;
}

ReportsTargetPage::ReportsTargetPage(const SettingsStore& settings, const char* skipFlag) noexcept
    : Page(IDD_REPORTS_TARGET, "Reports Page", {{IDC_INTRO, 0, skipFlag}}, &settings), m_settings(settings)
{
}

BOOL ReportsTargetPage::OnInitDialog()
{
    HWND drives = ::GetDlgItem(m_hWnd, IDC_DRIVE_LIST);
    for (const std::string& root : GetFixedDriveRoots())
        ::SendMessageA(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>((root + " Drive").c_str()));
    ::SendMessageA(drives, CB_SETCURSEL, 0, 0);
    m_folder = m_settings.GetProfileString(kSection, "FolderName", "");
    return Page::OnInitDialog();
}

void ReportsTargetPage::DoDataExchange(framework::DataExchange& dx)
{
    dx.Text(IDC_FOLDER, m_folder);
}

LRESULT ReportsTargetPage::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SETFOCUS) {
        OnPageFocus();
        return TRUE;
    }
    return Page::HandleMessage(msg, wParam, lParam);
}

// Whichever of the two fields gets the focus chooses its radio button.
bool ReportsTargetPage::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == IDC_DRIVE_LIST && code == CBN_SETFOCUS) {
        ChooseFolder(false);
        return true;
    }
    if (id == IDC_FOLDER && code == EN_SETFOCUS) {
        ::SendDlgItemMessageA(m_hWnd, IDC_FOLDER, EM_SETSEL, 0, -1);
        ::SendDlgItemMessageA(m_hWnd, IDC_FOLDER, EM_SCROLLCARET, 0, 0);
        ChooseFolder(true);
        return true;
    }
    return Page::OnCommand(id, code, control);
}

bool ReportsTargetPage::OnButtonClicked(UINT id)
{
    switch (id) {
    case IDC_BROWSE:
        OnBrowse();
        return true;
    case IDC_NEXT:
        OnNext();
        return true;
    }
    return Page::OnButtonClicked(id);
}

// The focus goes to the choice made last: the stored one the first time.
void ReportsTargetPage::OnPageFocus()
{
    bool folder = IsChecked(m_hWnd, IDC_FOLDER_RADIO);
    if (m_firstFocus) {
        m_firstFocus = false;
        folder = m_settings.GetProfileInt(kSection, "AnalyzeFolder", 0) != 0;
    }
    ::SetFocus(::GetDlgItem(m_hWnd, folder ? IDC_FOLDER : IDC_DRIVE_LIST));
}

void ReportsTargetPage::ChooseFolder(bool folder)
{
    ::CheckRadioButton(m_hWnd, IDC_DRIVE_RADIO, IDC_FOLDER_RADIO, folder ? IDC_FOLDER_RADIO : IDC_DRIVE_RADIO);
}

void ReportsTargetPage::OnBrowse()
{
    std::string chosen = framework::GetSeams().browseForFolder(m_hWnd, "Select a Folder to Analyze");
    // A cancelled browse keeps what the field held.
    if (!chosen.empty())
        ::SetDlgItemTextA(m_hWnd, IDC_FOLDER, chosen.c_str());
}

void ReportsTargetPage::OnNext()
{
    UpdateData(true);
    bool folder = IsChecked(m_hWnd, IDC_FOLDER_RADIO);
    if (folder) {
        AnalysisTarget() = m_folder;
    } else {
        std::string drive = framework::GetWindowTextString(::GetDlgItem(m_hWnd, IDC_DRIVE_LIST));
        AnalysisTarget() = drive.substr(0, drive.find(' '));
    }
    ShowPage(2);
    m_settings.WriteProfileInt(kSection, "AnalyzeFolder", folder ? 1 : 0);
    m_settings.WriteProfileString(kSection, "FolderName", m_folder.c_str());
}

ReportsResultsPage::ReportsResultsPage(std::string keptFolder) noexcept
    : ListPage({IDD_REPORTS_RESULTS,
                "Reports Page",
                IDC_RESULTS_LIST,
                {{"FileName", kNameWidth}, {"Folder", 200}, {"Size", 80}, {"Last Modified", 80}},
                2,
                {{IDC_PRINT, ButtonNeeds::Nothing},
                 {IDC_DELETE, ButtonNeeds::SelectedFiles},
                 {IDC_RECYCLE, ButtonNeeds::SelectedFiles},
                 {IDC_OPEN, ButtonNeeds::OneSelectedFile},
                 {IDC_START_OVER, ButtonNeeds::Nothing}}},
               {{IDC_START_OVER, 0}}),
      m_keptFolder(std::move(keptFolder)),
      m_mapView({[this](std::uint32_t node) { ShowMapStatus(node); }, [this] { OnMapChanged(); }})
{
}

BOOL ReportsResultsPage::OnInitDialog()
{
    HWND reports = ::GetDlgItem(m_hWnd, IDC_REPORT_LIST);
    for (const ReportRow& report : kReports)
        ::SendMessageA(reports, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(report.caption));
    ::SendMessageA(reports, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kSpaceMapCaption));
    m_mapView.Create(m_hWnd, IDC_SPACE_MAP);
    // In the tab order where the list stands.
    ::SetWindowPos(m_mapView.GetSafeHwnd(), ::GetDlgItem(m_hWnd, IDC_RESULTS_LIST), 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return ListPage::OnInitDialog();
}

bool ReportsResultsPage::OnButtonClicked(UINT id)
{
    if (id == IDC_MAP_UP) {
        m_mapView.Up();
        return true;
    }
    if (m_shown != kSpaceMap)
        return ListPage::OnButtonClicked(id);
    switch (id) {
    case IDC_OPEN:
        if (m_mapView.Selected() != SpaceTree::kNone)
            OpenPath(m_hWnd, m_analysis.Tree().Path(m_mapView.Selected()));
        return true;
    case IDC_RECYCLE:
    case IDC_DELETE:
        RemoveMapSelection(id == IDC_DELETE);
        return true;
    case IDC_PRINT:
        PrintPages(m_hWnd, [&](PrintTarget& target, int width, int height) { m_mapView.Print(target, width, height); });
        return true;
    }
    return ListPage::OnButtonClicked(id);
}

int ReportsResultsPage::SelectedCount() const
{
    if (m_shown == kSpaceMap)
        return m_mapView.Selected() != SpaceTree::kNone ? 1 : 0;
    return ListPage::SelectedCount();
}

void ReportsResultsPage::OnPageResize(int width, int height)
{
    ListPage::OnPageResize(width, height);
    if (width <= 0 || height <= 0)
        return;
    // The map and its status line take the list's place.
    RECT list = framework::ChildRect(GetList());
    SIZE size = framework::RectSize(list);
    ::SetWindowPos(m_mapView.GetSafeHwnd(), nullptr, list.left, list.top, size.cx, size.cy - kStatusHeight,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(::GetDlgItem(m_hWnd, IDC_MAP_STATUS), nullptr, list.left, list.bottom - kStatusHeight + 2, size.cx,
                   kStatusHeight - 2, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool ReportsResultsPage::OnCommand(UINT id, UINT code, HWND control)
{
    if (id != IDC_REPORT_LIST || code != CBN_SELCHANGE)
        return ListPage::OnCommand(id, code, control);
    ShowReport(static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_REPORT_LIST, CB_GETCURSEL, 0, 0)));
    return true;
}

void ReportsResultsPage::OnPageActivated()
{
    WorkingSession session(m_hWnd, "Initializing...");
    ::SendDlgItemMessageA(m_hWnd, IDC_REPORT_LIST, CB_SETCURSEL, 0, 0);
    std::string target = AnalysisTarget();
    m_removed.clear();
    FILETIME started{};
    ::GetSystemTimeAsFileTime(&started);
    // The tree is rebuilt below a map that may still be on show.
    m_mapView.SetTree(nullptr);
    m_analysis.Start(target, session.Sink());
    m_mapView.SetTree(&m_analysis.Tree());
    CompareWithKept(framework::FileTimeTicks(started));
    ResetSortOrders();
    ShowReport(0);
}

// What went leaves every report and the map.
void ReportsResultsPage::OnFilesDeleted(const std::vector<std::string>& paths)
{
    m_removed.insert(paths.begin(), paths.end());
    SpaceTree& tree = m_analysis.Tree();
    tree.Remove(tree.FindAll(paths));
    m_mapView.Refresh();
}

// A stopped analysis is compared too (what it finished is exact) but never kept.
void ReportsResultsPage::CompareWithKept(std::uint64_t started)
{
    AnalysisKeeper keeper(m_keptFolder);
    std::optional<KeptAnalysis> kept = keeper.Load(m_analysis.Target());
    m_grownCaption = kReports[ReportId::GrownFolders].caption;
    m_grown.clear();
    m_hasEarlier = kept.has_value();
    if (kept) {
        m_grownCaption += " since " + FormatFileDate(framework::FileTimeFromTicks(kept->time));
        m_grown = GrownFolders(*kept, m_analysis.Folders());
    }
    HWND reports = ::GetDlgItem(m_hWnd, IDC_REPORT_LIST);
    ::SendMessageA(reports, CB_DELETESTRING, kGrownFolders, 0);
    ::SendMessageA(reports, CB_INSERTSTRING, kGrownFolders, reinterpret_cast<LPARAM>(m_grownCaption.c_str()));
    if (m_analysis.Completed())
        keeper.Keep(m_analysis.Target(), started, m_analysis.Folders());
}

std::string ReportsResultsPage::ListTitle() const
{
    if (m_shown == kSpaceMap)
        return kSpaceMapCaption;
    std::string caption = m_shown == kGrownFolders ? m_grownCaption : kReports[static_cast<ReportId>(m_shown)].caption;
    return caption.substr(0, caption.find(" ("));
}

bool ReportsResultsPage::WasRemoved(std::string_view path) const
{
    for (size_t end = path.size(); end > 0 && end != std::string_view::npos; end = path.find_last_of('\\', end - 1)) {
        if (m_removed.count(std::string(path.substr(0, end))))
            return true;
    }
    return false;
}

// The file selected in the list or on the map, so that the other shows it too.
std::string ReportsResultsPage::SelectedPath() const
{
    if (m_shown == kSpaceMap) {
        std::uint32_t node = m_mapView.Selected();
        return node == SpaceTree::kNone ? std::string() : m_analysis.Tree().Path(node);
    }
    int row = HasResults() ? Results().NextSelected(-1) : -1;
    return row < 0 ? std::string() : Results().Path(static_cast<size_t>(row));
}

void ReportsResultsPage::ShowReport(int index)
{
    if (index < 0 || index > kSpaceMap)
        return;
    framework::WaitCursor wait;
    std::string selected = SelectedPath();
    if (index == kSpaceMap) {
        if (!selected.empty())
            m_mapView.Select(m_analysis.Tree().Find(selected));
        m_shown = index;
        ClearList();
        ShowMap(true);
        return;
    }
    ShowMap(false);
    m_shown = index;
    bool folders = index == kLargestFolders || index == kGrownFolders;
    RowKind kind = folders ? RowKind::FolderRow : RowKind::FileRow;
    HWND list = GetList();
    // The grown folders show their growth where the others show a date.
    std::string lastColumn = index == kGrownFolders ? "Growth" : "Last Modified";
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = lastColumn.data();
    ::SendMessageA(list, LVM_SETCOLUMNA, 3, reinterpret_cast<LPARAM>(&column));
    const std::vector<ReportEntry>& entries =
        index == kGrownFolders ? m_grown : m_analysis.Report(static_cast<ReportId>(index));
    ClearList();
    ListModel& rows = FileList().Rows();
    rows.Reserve(entries.size());
    size_t selectedRow = 0;
    for (const ReportEntry& entry : entries) {
        if (!m_removed.empty() && WasRemoved(entry.path))
            continue;
        if (entry.path == selected)
            selectedRow = rows.Count();
        std::string_view path = entry.path;
        size_t slash = path.find_last_of('\\');
        rows.Add({path.substr(slash + 1), path.substr(0, slash), {}, entry.dateText}, entry.size, RowPlace::End, kind);
    }
    if (rows.Count() == 0) {
        ::SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, kMessageWidth);
        ShowPlaceholder(index == kGrownFolders && !m_hasEarlier ? kNothingEarlier : kNothingFound);
    } else {
        ::SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, kNameWidth);
        FileList().Show();
        FileList().Select(selectedRow);
        ::SendMessageA(list, LVM_ENSUREVISIBLE, selectedRow, FALSE);
    }
    UpdateButtons();
}

void ReportsResultsPage::ShowMap(bool shown)
{
    int map = shown ? SW_SHOW : SW_HIDE;
    ::ShowWindow(GetList(), shown ? SW_HIDE : SW_SHOW);
    ::ShowWindow(m_mapView.GetSafeHwnd(), map);
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_MAP_STATUS), map);
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_MAP_UP), map);
    if (shown)
        OnMapChanged();
}

void ReportsResultsPage::OnMapChanged()
{
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_MAP_UP), m_mapView.CanGoUp());
    ShowMapStatus(SpaceTree::kNone);
    UpdateButtons();
}

// The file under the mouse, or else the one selected.
void ReportsResultsPage::ShowMapStatus(std::uint32_t node)
{
    if (node == SpaceTree::kNone)
        node = m_mapView.Selected();
    std::string text;
    if (node != SpaceTree::kNone) {
        const SpaceTree& tree = m_analysis.Tree();
        text = tree.Path(node) + "  (" + FormatFileSize(tree.At(node).size) + ")";
    }
    ::SetDlgItemTextW(m_hWnd, IDC_MAP_STATUS, framework::WideText(text).c_str());
}

void ReportsResultsPage::RemoveMapSelection(bool permanent)
{
    std::uint32_t node = m_mapView.Selected();
    if (node == SpaceTree::kNone)
        return;
    RemovedPaths removed = RemovePaths(m_hWnd, {{m_analysis.Tree().Path(node), true}}, permanent);
    if (!removed.paths.empty())
        OnFilesDeleted(removed.paths);
    OnMapChanged();
}
