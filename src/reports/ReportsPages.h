// The Reports tab after its introduction: choosing what to analyse, and the
// reports of the analysis.
#pragma once

#include "pages/ListPage.h"
#include "reports/FolderAnalysis.h"
#include "reports/SpaceMapView.h"

#include <string>
#include <unordered_set>
#include <vector>

class SettingsStore;

// What the next analysis walks: set by the target page, read by the results page.
std::string& AnalysisTarget();

class ReportsTargetPage : public Page {
public:
    // skipFlag: the introduction's, which Intro resets.
    ReportsTargetPage(const SettingsStore& settings, const char* skipFlag) noexcept;

protected:
    BOOL OnInitDialog() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnButtonClicked(UINT id) override;
    void DoDataExchange(framework::DataExchange& dx) override;

private:
    void OnPageFocus();
    void ChooseFolder(bool folder);
    void OnBrowse();
    void OnNext();

    const SettingsStore& m_settings;
    std::string m_folder;
    // The page lives as long as the program: its first focus takes the stored choice.
    bool m_firstFocus = true;
};

class ReportsResultsPage : public ListPage {
public:
    // Keeps the last complete analysis of each target in the folder.
    explicit ReportsResultsPage(std::string keptFolder) noexcept;

    // The caption of the report on show, without its patterns.
    std::string ListTitle() const override;
    // The space map, shown in place of the list as the last report.
    CSpaceMapView& SpaceMapView() noexcept { return m_mapView; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnButtonClicked(UINT id) override;
    void OnPageActivated() override;
    void OnPageResize(int width, int height) override;
    int SelectedCount() const override;

private:
    void OnFilesDeleted(const std::vector<std::string>& paths) override;
    void ShowReport(int index);
    void ShowMap(bool shown);
    void OnMapChanged();
    void ShowMapStatus(std::uint32_t node);
    void RemoveMapSelection(bool permanent);
    std::string SelectedPath() const;
    bool WasRemoved(std::string_view path) const;
    void CompareWithKept(std::uint64_t started);

    FolderAnalysis m_analysis;
    std::string m_keptFolder;
    std::vector<ReportEntry> m_grown;
    std::string m_grownCaption;
    bool m_hasEarlier = false;
    int m_shown = 0;
    // What this page recycled or deleted since the analysis: later reports
    // leave it out, and what lay in it.
    std::unordered_set<std::string> m_removed;
    CSpaceMapView m_mapView;
};
