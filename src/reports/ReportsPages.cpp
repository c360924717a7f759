#include "reports/ReportsPages.h"

#include "settings/SettingsStore.h"
#include "framework/Drives.h"
#include "framework/Application.h"
#include "framework/DataExchange.h"
#include "framework/Dpi.h"
#include "framework/Path.h"
#include "framework/Seams.h"
#include "framework/Text.h"
#include "framework/Win32.h"
#include "lists/FileText.h"
#include "lists/ListActions.h"
#include "lists/PrintList.h"
#include "pages/Layout.h"
#include "pages/SkipField.h"
#include "reports/DuplicatesView.h"
#include "reports/FileTypesView.h"
#include "reports/KeptAnalysis.h"
#include "reports/TreeExport.h"
#include "reports/MftAnalysis.h"
#include "resources/resource.h"
#include "working/WorkingDlg.h"

#include <utility>

namespace {

constexpr const char* kSection = "ReportsPage1";
constexpr const char* kElevationOffer =
    "An administrator can analyze NTFS drives much faster: Corvane then reads the drive's file table instead of "
    "looking at every folder.\n\nRestart Corvane as an administrator?";
constexpr const char* kNothingFound = "No matching files found.";
constexpr const char* kNothingEarlier = "No earlier analysis of this folder to compare with.";
constexpr const char* kOtherSkipList =
    "The last analysis of this folder skipped other folders: it cannot be compared with this one.";
constexpr int kNameWidth = 130;
constexpr const char* kSpaceMapCaption = "Space map";
constexpr int kStatusHeight = 16;  // 96-DPI pixels, as the column widths
constexpr int kMessageWidth = 256;
constexpr size_t kUnreadShown = 20;

bool IsChecked(HWND dialog, int id)
{
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

// Which of the entries went since the analysis, as its tree records it.
std::vector<bool> WhichWent(const SpaceTree& tree, const std::vector<ReportEntry>& entries)
{
    std::vector<bool> gone(entries.size());
    if (!tree.AnyRemoved())
        return gone;
    std::vector<std::string_view> paths;
    paths.reserve(entries.size());
    for (const ReportEntry& entry : entries)
        paths.push_back(entry.path);
    std::vector<std::uint32_t> nodes = tree.FindAll(paths);
    for (size_t i = 0; i < nodes.size(); ++i)
        gone[i] = nodes[i] != SpaceTree::kNone && tree.Removed(nodes[i]);
    return gone;
}

}  // namespace

std::string FoundText(const FolderAnalysis& analysis)
{
    FolderTotal found = analysis.Found();
    std::string text = "Found: " + FormatSpace(found.onDisk) + " on disk in " +
                       CountOf(static_cast<std::uint64_t>(found.files), "file") + ".";
    if (std::optional<std::uint64_t> used = analysis.DriveUsedBytes()) {
        std::uint64_t notSeen = *used > found.onDisk ? *used - found.onDisk : 0;
        text += " Not seen: " + FormatSpace(notSeen) + " (system files, folders you may not read).";
    }
    if (int skipped = analysis.SkippedFolders())
        text += ' ' + CountOf(static_cast<std::uint64_t>(skipped), "folder") + " skipped.";
    if (std::uint64_t records = analysis.SkippedRecords())
        text += ' ' + FormatCount(records) + (records == 1 ? " entry" : " entries") +
                " of the drive's file table could not be used and " + (records == 1 ? "was" : "were") + " skipped.";
    if (size_t unread = analysis.UnreadFolders().size())
        text += ' ' + CountOf(unread, "folder") + " could not be read: click here to list them.";
    return text;
}

AnalysisRequest& NextAnalysis()
{
    static AnalysisRequest request;
    return request;
}

ReportsTargetPage::ReportsTargetPage(const SettingsStore& settings, const char* skipFlag) noexcept
    : Page(IDD_REPORTS_TARGET, "Reports Page", {{IDC_INTRO, 0, skipFlag}}, &settings), m_settings(settings)
{
    // Whichever of the two fields gets the focus chooses its radio button.
    OnControl(IDC_DRIVE_LIST, CBN_SETFOCUS, [this] { ChooseFolder(false); });
    OnControl(IDC_FOLDER, EN_SETFOCUS, [this] {
        ::SendDlgItemMessageA(m_hWnd, IDC_FOLDER, EM_SETSEL, 0, -1);
        ::SendDlgItemMessageA(m_hWnd, IDC_FOLDER, EM_SCROLLCARET, 0, 0);
        ChooseFolder(true);
    });
    OnControl(IDC_BROWSE, BN_CLICKED, [this] { OnBrowse(); });
    OnControl(IDC_NEXT, BN_CLICKED, [this] { OnNext(); });
    OnControl(IDC_RUN_AS_ADMIN, BN_CLICKED, [this] { OfferElevation(); });
}

BOOL ReportsTargetPage::OnInitDialog()
{
    HWND drives = ::GetDlgItem(m_hWnd, IDC_DRIVE_LIST);
    for (const std::string& root : framework::GetFixedDriveRoots())
        ::SendMessageA(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>((root + " Drive").c_str()));
    ::SendMessageA(drives, CB_SETCURSEL, 0, 0);
    m_folder = m_settings.GetProfileString(kSection, "FolderName", "");
    m_skip = m_settings.GetProfileString(kSection, "SkipFolders", "");
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_RUN_AS_ADMIN), framework::IsElevated() ? SW_HIDE : SW_SHOW);
    return Page::OnInitDialog();
}

// The same program, started again through the shell's elevation prompt; this one closes once it started.
void ReportsTargetPage::OfferElevation()
{
    framework::Seams& seams = framework::GetSeams();
    if (seams.messageBox(m_hWnd, kElevationOffer, "Corvane", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    wchar_t program[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    if (seams.shellExecute(m_hWnd, "runas", framework::NarrowText(program).c_str(), nullptr, nullptr, SW_SHOWNORMAL) >
        32)
        ::PostMessageA(::GetAncestor(m_hWnd, GA_ROOT), WM_CLOSE, 0, 0);
}

void ReportsTargetPage::DoDataExchange(framework::DataExchange& dx)
{
    dx.Text(IDC_FOLDER, m_folder);
    dx.Text(IDC_SKIP_FOLDERS, m_skip);
}

LRESULT ReportsTargetPage::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SETFOCUS) {
        OnPageFocus();
        return 0;
    }
    return Page::HandleMessage(msg, wParam, lParam);
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
    std::optional<framework::SkipList> skip = TakeSkipList(m_hWnd, m_skip);
    if (!skip)
        return;
    bool folder = IsChecked(m_hWnd, IDC_FOLDER_RADIO);
    AnalysisRequest& request = NextAnalysis();
    if (folder) {
        request.target = m_folder;
    } else {
        std::string drive = framework::GetWindowTextString(::GetDlgItem(m_hWnd, IDC_DRIVE_LIST));
        request.target = drive.substr(0, drive.find(' '));
    }
    request.skip = std::move(*skip);
    ShowPage(2);
    m_settings.WriteProfileInt(kSection, "AnalyzeFolder", folder ? 1 : 0);
    m_settings.WriteProfileString(kSection, "FolderName", m_folder.c_str());
    m_settings.WriteProfileString(kSection, "SkipFolders", m_skip.c_str());
}

// One report of the analysis, in the page's list.
class ReportsResultsPage::ReportListView : public ResultsView {
public:
    ReportListView(ReportsResultsPage& page, ReportId report, RowKind kind) noexcept
        : m_page(page), m_report(report), m_kind(kind)
    {
    }

    std::string Caption() const override { return kReports[m_report].caption; }
    void Show(const std::string& selected) override;
    // The list stays where it is for the next view that shows in it.
    void Hide() override { m_page.ClearList(); }
    int SelectedCount() const override { return m_page.ListPage::SelectedCount(); }
    std::vector<std::string> SelectedPaths() const override;
    void OpenSelected() override { m_page.ListPage::OpenSelected(); }
    void RemoveSelected(bool permanent) override { m_page.ListPage::RemoveSelected(permanent); }
    void Print() override { m_page.ListPage::PrintSelected(); }
    // The list drops the rows of what went as it goes.
    void Refresh() override {}

protected:
    virtual const std::vector<ReportEntry>& Entries() const { return m_page.m_analysis.Report(m_report); }
    virtual const char* LastColumn() const { return "Last Modified"; }
    virtual const char* NothingText() const { return kNothingFound; }

    ReportsResultsPage& m_page;

private:
    size_t AddRows(const std::string& selected);

    ReportId m_report;
    RowKind m_kind;
};

// The folders that grew since the last analysis of the target, with their growth.
class ReportsResultsPage::GrownFoldersView : public ReportListView {
public:
    explicit GrownFoldersView(ReportsResultsPage& page) noexcept
        : ReportListView(page, ReportId::GrownFolders, RowKind::FolderRow)
    {
    }

    std::string Caption() const override { return m_page.m_grownCaption; }

protected:
    const std::vector<ReportEntry>& Entries() const override { return m_page.m_grown; }
    const char* LastColumn() const override { return "Growth"; }
    const char* NothingText() const override { return m_page.m_grownNothing; }
};

// The space map and its status line, in the list's place.
class ReportsResultsPage::SpaceMapResultsView : public ResultsView {
public:
    explicit SpaceMapResultsView(ReportsResultsPage& page)
        : m_page(page), m_control({[this](std::uint32_t node) { ShowStatus(node); }, [this] { OnChanged(); }})
    {
    }

    CSpaceMapView& Control() noexcept { return m_control; }
    void Create();

    std::string Caption() const override { return kSpaceMapCaption; }
    void Show(const std::string& selected) override;
    void Hide() override { ShowWindows(false); }
    int SelectedCount() const override { return m_control.Selected() != SpaceTree::kNone ? 1 : 0; }
    std::vector<std::string> SelectedPaths() const override;
    void OpenSelected() override;
    void RemoveSelected(bool permanent) override;
    void Print() override;
    void Refresh() override { m_control.Refresh(); }

private:
    const SpaceTree& Tree() const noexcept { return m_page.m_analysis.Tree(); }
    void ShowWindows(bool shown);
    void OnChanged();
    void ShowStatus(std::uint32_t node);

    ReportsResultsPage& m_page;
    CSpaceMapView m_control;
};

ReportsResultsPage::ReportsResultsPage(std::string keptFolder)
    : ListPage({.templateId = IDD_REPORTS_RESULTS,
                .helpKey = "Reports Page",
                .listId = IDC_RESULTS_LIST,
                .columns = {{"FileName", kNameWidth}, {"Folder", 200}, {"Size", 80}, {"Last Modified", 80}},
                .sizeColumn = 2,
                .pathColumn = 1,
                .buttons = FoundFilesButtons()},
               {{IDC_START_OVER, 0}}),
      m_keptFolder(std::move(keptFolder))
{
    // The Report list's entries, in its order: a view each, the reports' first.
    for (const ReportRow& report : kReports) {
        if (report.takes == ReportTakes::GrownFolders)
            m_views.push_back(std::make_unique<GrownFoldersView>(*this));
        else if (report.takes == ReportTakes::LargestFolders)
            m_views.push_back(std::make_unique<ReportListView>(*this, report.id, RowKind::FolderRow));
        else
            m_views.push_back(std::make_unique<ReportListView>(*this, report.id, RowKind::FileRow));
    }
    auto tree = std::make_unique<FolderTreeView>(FolderTreeView::Host{
        [this] { UpdateButtons(); }, [this](const std::vector<std::string>& paths) { OnFilesDeleted(paths); }});
    m_folderTree = tree.get();
    m_views.push_back(std::move(tree));
    auto types = std::make_unique<FileTypesView>(*this);
    m_fileTypes = types.get();
    m_views.push_back(std::move(types));
    auto map = std::make_unique<SpaceMapResultsView>(*this);
    m_map = map.get();
    m_views.push_back(std::move(map));
    auto duplicates = std::make_unique<DuplicatesView>(*this);
    m_duplicates = duplicates.get();
    m_views.push_back(std::move(duplicates));
    m_shown = m_views.front().get();
    OnControl(IDC_REPORT_LIST, CBN_SELCHANGE, [this] { OnReportChosen(); });
    OnControl(IDC_MAP_UP, BN_CLICKED, [this] { m_map->Control().Up(); });
    OnControl(IDC_FOUND, STN_CLICKED, [this] { ListUnreadFolders(); });
}

ReportsResultsPage::~ReportsResultsPage() = default;

CSpaceMapView& ReportsResultsPage::SpaceMapView() noexcept
{
    return m_map->Control();
}

CSpaceMapView& ReportsResultsPage::FileTypesMap() noexcept
{
    return m_fileTypes->Map();
}

BOOL ReportsResultsPage::OnInitDialog()
{
    FillReportList();
    m_map->Create();
    m_folderTree->Create(m_hWnd);
    m_fileTypes->Create();
    return ListPage::OnInitDialog();
}

// The buttons act on the view on show.
void ReportsResultsPage::OpenSelected()
{
    if (PathsAreHere(m_shown->SelectedPaths()))
        m_shown->OpenSelected();
}

void ReportsResultsPage::RemoveSelected(bool permanent)
{
    if (PathsAreHere(m_shown->SelectedPaths()))
        m_shown->RemoveSelected(permanent);
}

void ReportsResultsPage::PrintSelected()
{
    m_shown->Print();
}

// The view on show hears of its list first.
bool ReportsResultsPage::OnNotify(const NMHDR& header, LRESULT& result)
{
    if (header.hwndFrom == Results().GetSafeHwnd() && m_shown->OnListNotify(header, result))
        return true;
    return ListPage::OnNotify(header, result);
}

int ReportsResultsPage::SelectedCount() const
{
    return m_shown->SelectedCount();
}

bool ReportsResultsPage::CanExport() const
{
    return m_shown->Exportable() || ListPage::CanExport();
}

std::string ReportsResultsPage::ExportCsv() const
{
    return m_shown->Exportable() ? m_shown->Csv() : ListPage::ExportCsv();
}

void ReportsResultsPage::OnPageResize(int width, int height)
{
    ListPage::OnPageResize(width, height);
    if (width <= 0 || height <= 0)
        return;
    HWND found = ::GetDlgItem(m_hWnd, IDC_FOUND);
    RECT line = framework::ChildRect(found);
    ::SetWindowPos(found, nullptr, 0, 0, width - line.left, line.bottom - line.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The map and its status line take the list's place.
    RECT list = framework::ChildRect(Results().GetSafeHwnd());
    SIZE size = framework::RectSize(list);
    UINT dpi = framework::WindowDpi(m_hWnd);
    int status = framework::ScaleToDpi(kStatusHeight, dpi), gap = framework::ScaleToDpi(2, dpi);
    ::SetWindowPos(SpaceMapView().GetSafeHwnd(), nullptr, list.left, list.top, size.cx, size.cy - status,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(::GetDlgItem(m_hWnd, IDC_MAP_STATUS), nullptr, list.left, list.bottom - status + gap, size.cx,
                   status - gap, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const auto& view : m_views)
        view->Layout(list);
}

void ReportsResultsPage::OnPageActivated()
{
    std::string saved = std::exchange(NextAnalysis().savedTree, std::string());
    FolderAnalysis loaded;
    std::string error;
    if (!saved.empty() && !LoadTree(saved, loaded, error)) {
        std::string text = "Corvane could not open the analysis in " + saved + ": " + error + ".";
        framework::GetSeams().messageBox(m_hWnd, text.c_str(), "Corvane", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    ::SendDlgItemMessageA(m_hWnd, IDC_REPORT_LIST, CB_SETCURSEL, 0, 0);
    FILETIME started{};
    ::GetSystemTimeAsFileTime(&started);
    // The tree is rebuilt below maps that may still be on show.
    SpaceMapView().SetTree(nullptr);
    m_folderTree->SetTree(nullptr);
    m_fileTypes->SetTree(nullptr);
    m_savedTree = saved;
    if (!saved.empty()) {
        m_analysis = std::move(loaded);
    } else {
        WorkingSession session(m_hWnd, "Initializing...");
        const AnalysisRequest& request = NextAnalysis();
        Analyse(m_analysis, request.target, session.Sink(), request.skip);
    }
    m_duplicates->Forget();
    SpaceMapView().SetTree(&m_analysis.Tree());
    m_folderTree->SetTree(&m_analysis.Tree());
    m_fileTypes->SetTree(&m_analysis.Tree());
    ::SetDlgItemTextW(m_hWnd, IDC_FOUND, framework::WideText(FoundText(m_analysis)).c_str());
    CompareWithKept(framework::FileTimeTicks(started));
    ResetSortOrders();
    ShowView(0);
}

bool ReportsResultsPage::PathsAreHere(const std::vector<std::string>& paths) const
{
    if (m_savedTree.empty())
        return true;
    for (const std::string& path : paths) {
        if (framework::GetPathAttributes(path) == INVALID_FILE_ATTRIBUTES) {
            std::string text = "This analysis was opened from " + m_savedTree + ": " + path +
                               " is not on this computer, so Corvane leaves it alone.";
            framework::GetSeams().messageBox(m_hWnd, text.c_str(), "Corvane", MB_OK | MB_ICONINFORMATION);
            return false;
        }
    }
    return true;
}

// The folders the walk could not list, as many as a message shows.
void ReportsResultsPage::ListUnreadFolders()
{
    const std::vector<std::string>& unread = m_analysis.UnreadFolders();
    if (unread.empty())
        return;
    std::string text = "These folders could not be read:\n";
    size_t shown = std::min(unread.size(), kUnreadShown);
    for (size_t i = 0; i < shown; ++i)
        text += "\n" + unread[i];
    if (unread.size() > shown)
        text += "\n... and " + FormatCount(unread.size() - shown) + " more.";
    framework::GetSeams().messageBox(m_hWnd, text.c_str(), "Corvane", MB_OK | MB_ICONINFORMATION);
}

// What went is recorded in the tree, which every view reads.
void ReportsResultsPage::OnFilesDeleted(const std::vector<std::string>& paths)
{
    SpaceTree& tree = m_analysis.Tree();
    tree.Remove(tree.FindAll(paths));
    m_shown->Refresh();
}

// A stopped analysis is compared too (what it finished is exact) but never kept.
void ReportsResultsPage::CompareWithKept(std::uint64_t started)
{
    AnalysisKeeper keeper(m_keptFolder);
    std::optional<KeptAnalysis> kept = keeper.Load(m_analysis.Target());
    m_grownCaption = kReports[ReportId::GrownFolders].caption;
    m_grown.clear();
    m_grownNothing = kNothingEarlier;
    // Folders left out of one analysis but not the other would seem to grow or vanish.
    if (kept && kept->skipText != m_analysis.SkipText()) {
        m_grownNothing = kOtherSkipList;
    } else if (kept) {
        m_grownNothing = kNothingFound;
        m_grownCaption += " since " + FormatFileDate(framework::FileTimeFromTicks(kept->time));
        m_grown = GrownFolders(*kept, m_analysis.Folders());
    }
    FillReportList();
    // What was opened from a file is shown, never kept as this computer's.
    if (m_analysis.Completed() && m_savedTree.empty())
        keeper.Keep(m_analysis.Target(), started, m_analysis.Folders(), m_analysis.SkipText());
}

// The views' captions, each entry holding its view's row; the choice stays.
void ReportsResultsPage::FillReportList()
{
    HWND reports = ::GetDlgItem(m_hWnd, IDC_REPORT_LIST);
    LRESULT chosen = ::SendMessageA(reports, CB_GETCURSEL, 0, 0);
    ::SendMessageA(reports, CB_RESETCONTENT, 0, 0);
    for (size_t row = 0; row < m_views.size(); ++row) {
        std::string caption = m_views[row]->Caption();
        LRESULT at = ::SendMessageA(reports, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caption.c_str()));
        ::SendMessageA(reports, CB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(row));
    }
    if (chosen != CB_ERR)
        ::SendMessageA(reports, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
}

void ReportsResultsPage::OnReportChosen()
{
    HWND reports = ::GetDlgItem(m_hWnd, IDC_REPORT_LIST);
    LRESULT chosen = ::SendMessageA(reports, CB_GETCURSEL, 0, 0);
    if (chosen != CB_ERR)
        ShowView(static_cast<size_t>(::SendMessageA(reports, CB_GETITEMDATA, static_cast<WPARAM>(chosen), 0)));
}

std::string ReportsResultsPage::ListTitle() const
{
    return m_shown->Title();
}

// The next view selects what the one before had selected.
void ReportsResultsPage::ShowView(size_t row)
{
    if (row >= m_views.size())
        return;
    framework::WaitCursor wait;
    std::vector<std::string> selected = m_shown->SelectedPaths();
    m_shown->Hide();
    m_shown = m_views[row].get();
    m_shown->Show(selected.empty() ? std::string() : selected.front());
}

void ReportsResultsPage::ReportListView::Show(const std::string& selected)
{
    HWND list = m_page.Results().GetSafeHwnd();
    ::ShowWindow(list, SW_SHOW);
    m_page.ClearList();
    // Folders show what their files take on the disk too; files as the reports define them.
    bool folders = m_kind == RowKind::FolderRow;
    m_page.ShowDiskColumn(folders);
    m_page.SetColumnHeading(folders ? 4 : 3, LastColumn());
    m_page.ShowReportRows(AddRows(selected), NothingText());
}

void ReportsResultsPage::PlaceOnFoundLine(const RECT& list, const std::vector<int>& buttons)
{
    HWND found = ::GetDlgItem(m_hWnd, IDC_FOUND);
    RECT line = framework::ChildRect(found);
    LONG right = list.right;
    if (buttons.empty()) {
        RECT page{};
        ::GetClientRect(m_hWnd, &page);
        right = page.right;
    }
    for (int id : buttons) {
        HWND button = ::GetDlgItem(m_hWnd, id);
        RECT rect = framework::ChildRect(button);
        right -= rect.right - rect.left;
        ::SetWindowPos(button, nullptr, right, line.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        right -= kControlGap;
    }
    ::SetWindowPos(found, nullptr, 0, 0, right - line.left, line.bottom - line.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ReportsResultsPage::ShowReportRows(size_t selectedRow, const char* nothing)
{
    HWND list = Results().GetSafeHwnd();
    if (Rows().Count() == 0) {
        SetColumnWidth(0, kMessageWidth);
        ShowPlaceholder(nothing);
    } else {
        SetColumnWidth(0, kNameWidth);
        FileList().Show();
        FileList().Select(selectedRow);
        ::SendMessageA(list, LVM_ENSUREVISIBLE, selectedRow, FALSE);
    }
    UpdateButtons();
}

// Every entry that is still there; returns the row of the one selected.
size_t ReportsResultsPage::ReportListView::AddRows(const std::string& selected)
{
    const std::vector<ReportEntry>& entries = Entries();
    std::vector<bool> gone = WhichWent(m_page.m_analysis.Tree(), entries);
    ListModel& rows = m_page.FileList().Rows();
    rows.Reserve(entries.size());
    size_t selectedRow = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const ReportEntry& entry = entries[i];
        if (gone[i])
            continue;
        if (entry.path == selected)
            selectedRow = rows.Count();
        std::string_view path = entry.path;
        size_t slash = path.find_last_of('\\');
        std::string_view name = path.substr(slash + 1);
        std::string folder = FolderText(path.substr(0, slash));
        if (m_kind == RowKind::FolderRow)
            rows.Add({name, folder, {}, {}, entry.dateText}, entry.size, RowPlace::End, m_kind, entry.onDisk);
        else
            rows.Add({name, folder, {}, entry.dateText}, entry.size, RowPlace::End, m_kind);
    }
    return selectedRow;
}

std::vector<std::string> ReportsResultsPage::ReportListView::SelectedPaths() const
{
    std::vector<std::string> paths;
    if (!m_page.HasResults())
        return paths;
    const CFileList& list = m_page.Results();
    for (int row = list.NextSelected(-1); row >= 0; row = list.NextSelected(row))
        paths.push_back(list.Path(static_cast<size_t>(row)));
    return paths;
}

void ReportsResultsPage::SpaceMapResultsView::Create()
{
    m_control.Create(m_page.m_hWnd, IDC_SPACE_MAP);
    // In the tab order where the list stands.
    ::SetWindowPos(m_control.GetSafeHwnd(), ::GetDlgItem(m_page.m_hWnd, IDC_RESULTS_LIST), 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The list behind the map holds nothing, so that nothing is exported.
void ReportsResultsPage::SpaceMapResultsView::Show(const std::string& selected)
{
    if (!selected.empty())
        m_control.Select(Tree().Find(selected));
    m_page.ClearList();
    ShowWindows(true);
}

void ReportsResultsPage::SpaceMapResultsView::ShowWindows(bool shown)
{
    int map = shown ? SW_SHOW : SW_HIDE;
    ::ShowWindow(m_page.Results().GetSafeHwnd(), shown ? SW_HIDE : SW_SHOW);
    ::ShowWindow(m_control.GetSafeHwnd(), map);
    ::ShowWindow(::GetDlgItem(m_page.m_hWnd, IDC_MAP_STATUS), map);
    ::ShowWindow(::GetDlgItem(m_page.m_hWnd, IDC_MAP_UP), map);
    if (shown)
        OnChanged();
}

std::vector<std::string> ReportsResultsPage::SpaceMapResultsView::SelectedPaths() const
{
    std::uint32_t node = m_control.Selected();
    if (node == SpaceTree::kNone)
        return {};
    return {Tree().Path(node)};
}

void ReportsResultsPage::SpaceMapResultsView::OpenSelected()
{
    if (m_control.Selected() != SpaceTree::kNone)
        OpenPath(m_page.m_hWnd, Tree().Path(m_control.Selected()));
}

void ReportsResultsPage::SpaceMapResultsView::RemoveSelected(bool permanent)
{
    std::uint32_t node = m_control.Selected();
    if (node == SpaceTree::kNone)
        return;
    RemovedPaths removed = RemovePaths(m_page.m_hWnd, {{Tree().Path(node), true}}, permanent);
    if (!removed.paths.empty())
        m_page.OnFilesDeleted(removed.paths);
    OnChanged();
}

void ReportsResultsPage::SpaceMapResultsView::Print()
{
    PrintPages(m_page.m_hWnd,
               [&](PrintTarget& target, int width, int height) { m_control.Print(target, width, height); });
}

void ReportsResultsPage::SpaceMapResultsView::OnChanged()
{
    ::EnableWindow(::GetDlgItem(m_page.m_hWnd, IDC_MAP_UP), m_control.CanGoUp());
    ShowStatus(SpaceTree::kNone);
    m_page.UpdateButtons();
}

// The file under the mouse, or else the one selected.
void ReportsResultsPage::SpaceMapResultsView::ShowStatus(std::uint32_t node)
{
    if (node == SpaceTree::kNone)
        node = m_control.Selected();
    std::string text;
    if (node != SpaceTree::kNone) {
        const SpaceTree::Node& entry = Tree().At(node);
        text =
            Tree().Path(node) + "  (" + FormatFileSize(entry.size) + ", " + FormatFileSize(entry.onDisk) + " on disk)";
    }
    ::SetDlgItemTextW(m_page.m_hWnd, IDC_MAP_STATUS, framework::WideText(text).c_str());
}
