// The Reports tab after its introduction: choosing what to analyse, and the
// reports of the analysis.
#pragma once

#include "framework/SkipList.h"
#include "pages/ListPage.h"
#include "reports/FolderAnalysis.h"
#include "reports/FolderTreeView.h"
#include "reports/ResultsView.h"
#include "reports/SpaceMapView.h"

#include <memory>
#include <string>
#include <vector>

class SettingsStore;

// What the next analysis walks and leaves out: set by the target page, read by the results page.
struct AnalysisRequest {
    std::string target;
    framework::SkipList skip;
    std::string savedTree;  // a whole tree saved by an earlier analysis, shown instead of a walk
};
AnalysisRequest& NextAnalysis();

// What an analysis found, in the sentence above its results: the space its
// files take on the disk, what of a whole drive's used space it could not
// see, and how many folders it could not read.
std::string FoundText(const FolderAnalysis& analysis);

class ReportsTargetPage : public Page {
public:
    // skipFlag: the introduction's, which Intro resets.
    ReportsTargetPage(const SettingsStore& settings, const char* skipFlag) noexcept;

protected:
    BOOL OnInitDialog() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(framework::DataExchange& dx) override;

private:
    void OnPageFocus();
    void ChooseFolder(bool folder);
    void OnBrowse();
    void OnNext();
    void OfferElevation();

    const SettingsStore& m_settings;
    std::string m_folder;
    std::string m_skip;
    // The page lives as long as the program: its first focus takes the stored choice.
    bool m_firstFocus = true;
};

class ReportsResultsPage : public ListPage {
public:
    // Keeps the last complete analysis of each target in the folder.
    explicit ReportsResultsPage(std::string keptFolder);
    ~ReportsResultsPage() override;

    // What the view on show shows: its caption without the patterns, or what it lists now.
    std::string ListTitle() const override;
    // The space map, shown in place of the list as the last view.
    CSpaceMapView& SpaceMapView() noexcept;
    // The folder tree and its map, the view before it.
    FolderTreeView& FolderTree() noexcept { return *m_folderTree; }
    // The map below the file types.
    CSpaceMapView& FileTypesMap() noexcept;
    bool CanExport() const override;
    std::string ExportCsv() const override;

protected:
    BOOL OnInitDialog() override;
    void OpenSelected() override;
    void RemoveSelected(bool permanent) override;
    void PrintSelected() override;
    void OnPageActivated() override;
    void OnPageResize(int width, int height) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    int SelectedCount() const override;

private:
    class ReportListView;
    class GrownFoldersView;
    class SpaceMapResultsView;
    class DuplicatesView;
    class FileTypesView;

    void OnFilesDeleted(const std::vector<std::string>& paths) override;
    void FillReportList();
    void OnReportChosen();
    void ShowView(size_t row);
    void CompareWithKept(std::uint64_t started);
    // Files of an analysis opened from a file may not be on this computer:
    // false, after a message, when one of these is not.
    bool PathsAreHere(const std::vector<std::string>& paths) const;
    void ListUnreadFolders();
    // The rows added, that one selected and shown; or, where there are none, the message.
    void ShowReportRows(size_t selectedRow, const char* nothing);
    // A view's buttons at the right of the line above the list, right to left; its text left of them.
    void PlaceOnFoundLine(const RECT& list, const std::vector<int>& buttons);

    FolderAnalysis m_analysis;
    std::string m_keptFolder;
    std::vector<ReportEntry> m_grown;
    std::string m_grownCaption;
    const char* m_grownNothing = nullptr;
    std::string m_savedTree;  // the file the analysis on show was opened from  // what the grown folders' list says
                              // when it lists none
    // The Report list's entries, in its order, and the one on show.
    std::vector<std::unique_ptr<ResultsView>> m_views;
    ResultsView* m_shown = nullptr;
    SpaceMapResultsView* m_map = nullptr;
    DuplicatesView* m_duplicates = nullptr;
    FolderTreeView* m_folderTree = nullptr;
    FileTypesView* m_fileTypes = nullptr;
};
