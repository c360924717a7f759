#include "reports/DuplicatesView.h"

#include "framework/Path.h"
#include "framework/Seams.h"
#include "framework/Win32.h"
#include "lists/FileText.h"
#include "lists/ListActions.h"
#include "lists/ListModel.h"
#include "resources/resource.h"
#include "working/WorkingDlg.h"

#include <algorithm>

namespace {

constexpr const char* kNoDuplicates = "No duplicate files found.";
constexpr int kGroupColumn = 4;
constexpr int kGroupWidth = 50;

std::string Plural(std::uint64_t count, const char* one, const char* many)
{
    return FormatCount(count) + ' ' + (count == 1 ? one : many);
}

std::string Plural(int count, const char* one, const char* many)
{
    return Plural(static_cast<std::uint64_t>(count), one, many);
}

// Whether the path lies in the folder or below it, the letters taken without case, as the system takes them.
bool IsBelow(std::string_view path, std::string_view folder)
{
    while (folder.ends_with('\\'))
        folder.remove_suffix(1);
    return path.size() > folder.size() && path[folder.size()] == '\\' &&
           CompareText(path.substr(0, folder.size()), folder) == 0;
}

}  // namespace

ReportsResultsPage::DuplicatesView::DuplicatesView(ReportsResultsPage& page) : m_page(page)
{
    page.OnControl(IDC_SELECT_COPIES, BN_CLICKED, [this] { SelectCopies({}); });
    page.OnControl(IDC_KEEP_IN_FOLDER, BN_CLICKED, [this] {
        std::string folder = framework::GetSeams().browseForFolder(m_page.m_hWnd, "Keep the Copies in This Folder");
        if (!folder.empty())
            SelectCopies(folder);
    });
}

void ReportsResultsPage::DuplicatesView::Search()
{
    WorkingSession session(m_page.m_hWnd, "Looking for duplicate files...");
    m_result = FindDuplicates(m_page.m_analysis.Tree(), session.Sink());
}

void ReportsResultsPage::DuplicatesView::Show(const std::string& selected)
{
    if (!m_result)
        Search();
    m_shown = true;
    HWND list = m_page.Results().GetSafeHwnd();
    ::ShowWindow(list, SW_SHOW);
    m_page.ShowDiskColumn(false);
    m_page.ClearList();
    framework::SetListColumnText(list, 3, "Last Modified");
    m_page.InsertColumn(kGroupColumn, "Group", kGroupWidth, SortKind::Number);
    m_page.ShowReportRows(AddRows(selected), kNoDuplicates);
    ShowButtons(true);
}

void ReportsResultsPage::DuplicatesView::Hide()
{
    m_shown = false;
    m_page.RemoveColumn(kGroupColumn);
    ShowButtons(false);
}

// Copies stay together, the groups in the result's order; returns the row of the one selected.
size_t ReportsResultsPage::DuplicatesView::AddRows(const std::string& selected)
{
    m_rows.clear();
    ListModel& rows = m_page.FileList().Rows();
    size_t selectedRow = 0;
    for (size_t group = 0; group < m_result->groups.size(); ++group) {
        std::vector<size_t> files = Remaining(group);
        if (files.size() < 2)
            continue;
        std::string number = std::to_string(group + 1);
        for (size_t file : files) {
            const DuplicateFile& copy = m_result->groups[group].files[file];
            std::string path = PathOf({group, file});
            if (path == selected)
                selectedRow = rows.Count();
            size_t slash = path.find_last_of('\\');
            std::string date = FormatFileDate(framework::FileTimeFromTicks(copy.lastWrite));
            rows.Add(
                {std::string_view(path).substr(slash + 1), std::string_view(path).substr(0, slash), {}, date, number},
                m_result->groups[group].size);
            m_rows.push_back({group, file});
        }
    }
    return selectedRow;
}

// The buttons and the summary live on the line above the list while the view shows.
void ReportsResultsPage::DuplicatesView::ShowButtons(bool shown)
{
    for (int id : {IDC_SELECT_COPIES, IDC_KEEP_IN_FOLDER})
        ::ShowWindow(::GetDlgItem(m_page.m_hWnd, id), shown ? SW_SHOW : SW_HIDE);
    std::string text = shown ? Summary() : FoundText(m_page.m_analysis);
    ::SetDlgItemTextW(m_page.m_hWnd, IDC_FOUND, framework::WideText(text).c_str());
    if (shown)
        Layout(framework::ChildRect(m_page.Results().GetSafeHwnd()));
    else
        m_page.PlaceOnFoundLine({}, {});
}

void ReportsResultsPage::DuplicatesView::Layout(const RECT& list)
{
    if (m_shown)
        m_page.PlaceOnFoundLine(list, {IDC_KEEP_IN_FOLDER, IDC_SELECT_COPIES});
}

// The groups on show, what removing the copies would free, and what the search left out.
std::string ReportsResultsPage::DuplicatesView::Summary() const
{
    std::uint64_t groups = 0, freed = 0;
    for (size_t group = 0; group < m_result->groups.size(); ++group) {
        size_t copies = Remaining(group).size();
        if (copies >= 2) {
            ++groups;
            freed += m_result->groups[group].size * (copies - 1);
        }
    }
    std::string text = Plural(groups, "group", "groups") + " of copies: removing all but one copy of each frees " +
                       FormatSpace(freed) + ".";
    if (!m_result->completed)
        text += " The search was stopped: groups not yet confirmed are not shown.";
    std::vector<std::string> left;
    if (m_result->changed > 0)
        left.push_back(Plural(m_result->changed, "file", "files") + " changed since the analysis");
    if (m_result->online > 0)
        left.push_back(Plural(m_result->online, "file", "files") + " kept online only");
    if (m_result->unreadable > 0)
        left.push_back(Plural(m_result->unreadable, "file", "files") + " that could not be read");
    for (size_t i = 0; i < left.size(); ++i)
        text += (i == 0 ? " Left out: " : ", ") + left[i];
    if (!left.empty())
        text += '.';
    return text;
}

std::vector<size_t> ReportsResultsPage::DuplicatesView::Remaining(size_t group) const
{
    const SpaceTree& tree = m_page.m_analysis.Tree();
    const std::vector<DuplicateFile>& files = m_result->groups[group].files;
    std::vector<size_t> remaining;
    for (size_t file = 0; file < files.size(); ++file) {
        if (!tree.Removed(files[file].node))
            remaining.push_back(file);
    }
    return remaining;
}

const ReportsResultsPage::DuplicatesView::RowFile& ReportsResultsPage::DuplicatesView::At(size_t row) const
{
    return m_rows[m_page.Rows().Data(row) - 1];
}

std::string ReportsResultsPage::DuplicatesView::PathOf(const RowFile& file) const
{
    return m_page.m_analysis.Tree().Path(m_result->groups[file.group].files[file.file].node);
}

std::vector<std::string> ReportsResultsPage::DuplicatesView::SelectedPaths() const
{
    std::vector<std::string> paths;
    if (m_page.HasResults()) {
        for (size_t row : m_page.Results().Selected())
            paths.push_back(PathOf(At(row)));
    }
    return paths;
}

void ReportsResultsPage::DuplicatesView::SelectCopies(const std::string& folder)
{
    if (!m_page.HasResults())
        return;
    std::vector<size_t> keepers(m_result->groups.size(), SIZE_MAX);
    for (size_t row = 0; row < m_page.Rows().Count(); ++row) {
        const RowFile& file = At(row);
        if (keepers[file.group] == SIZE_MAX)
            keepers[file.group] = Keeper(file.group, folder);
        m_page.FileList().Select(row, file.file != keepers[file.group]);
    }
    m_page.UpdateButtons();
}

size_t ReportsResultsPage::DuplicatesView::Keeper(size_t group, const std::string& folder) const
{
    std::vector<size_t> files = Remaining(group);
    const std::vector<DuplicateFile>& copies = m_result->groups[group].files;
    std::vector<size_t> inFolder;
    for (size_t file : files) {
        if (!folder.empty() && IsBelow(PathOf({group, file}), folder))
            inFolder.push_back(file);
    }
    const std::vector<size_t>& choices = inFolder.empty() ? files : inFolder;
    return *std::min_element(choices.begin(), choices.end(),
                             [&](size_t a, size_t b) { return copies[a].lastWrite < copies[b].lastWrite; });
}

void ReportsResultsPage::DuplicatesView::RemoveSelected(bool permanent)
{
    std::vector<size_t> rows = m_page.Results().Selected();
    if (!m_page.HasResults() || rows.empty() || !ConfirmEveryCopy(rows))
        return;
    std::vector<RemovalRequest> requests;
    for (size_t row : rows)
        requests.push_back({PathOf(At(row))});
    RemovedPaths removed = RemovePaths(m_page.m_hWnd, requests, permanent);
    if (!removed.paths.empty())
        m_page.OnFilesDeleted(removed.paths);
}

// Where the selection holds every copy left of a group, asks again, naming the file.
bool ReportsResultsPage::DuplicatesView::ConfirmEveryCopy(const std::vector<size_t>& rows) const
{
    std::vector<size_t> selected(m_result->groups.size());
    for (size_t row : rows)
        ++selected[At(row).group];
    size_t whole = 0, first = SIZE_MAX;
    for (size_t group = 0; group < selected.size(); ++group) {
        if (selected[group] > 0 && selected[group] == Remaining(group).size()) {
            ++whole;
            first = std::min(first, group);
        }
    }
    if (whole == 0)
        return true;
    std::string path = PathOf({first, Remaining(first).front()});
    std::string text = "Every copy of " + path.substr(path.find_last_of('\\') + 1) + " is selected";
    if (whole > 1)
        text += ", and every copy of " + Plural(static_cast<std::uint64_t>(whole - 1), "other file", "other files");
    text += ". Removing them leaves no copy at all.\n\nRemove every copy?";
    return framework::GetSeams().messageBox(m_page.m_hWnd, text.c_str(), "Corvane",
                                            MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

// What went leaves the list, and so does a group with one copy left.
void ReportsResultsPage::DuplicatesView::Refresh()
{
    std::vector<size_t> gone;
    for (size_t row = 0; row < m_page.Rows().Count(); ++row) {
        const RowFile& file = At(row);
        const DuplicateFile& copy = m_result->groups[file.group].files[file.file];
        if (m_page.m_analysis.Tree().Removed(copy.node) || Remaining(file.group).size() < 2)
            gone.push_back(row);
    }
    m_page.FileList().Remove(gone);
    if (m_page.Rows().Count() == 0)
        m_page.ShowReportRows(0, kNoDuplicates);
    ShowButtons(true);
    m_page.UpdateButtons();
}
