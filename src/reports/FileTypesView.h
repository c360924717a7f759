// The kinds of files in the analysis: one row per extension in the results
// page's list, with the space map below it. The types chosen are lit on the
// map; a double-click lists a type's files, Backspace or Back returns.
#pragma once

#include "pages/Splitter.h"
#include "reports/FileTypes.h"
#include "reports/ReportsPages.h"
#include "reports/SpaceMapView.h"

#include <string>
#include <vector>

class ReportsResultsPage::FileTypesView : public ResultsView {
public:
    explicit FileTypesView(ReportsResultsPage& page);

    void Create();
    void SetTree(const SpaceTree* tree) { m_map.SetTree(tree); }
    CSpaceMapView& Map() noexcept { return m_map; }

    std::string Caption() const override { return "File types"; }
    std::string Title() const override;
    void Show(const std::string& selected) override;
    void Hide() override;
    int SelectedCount() const override;
    std::vector<std::string> SelectedPaths() const override;
    void OpenSelected() override { m_page.ListPage::OpenSelected(); }
    void RemoveSelected(bool permanent) override;
    void Print() override { m_page.ListPage::PrintSelected(); }
    void Refresh() override;
    void Layout(const RECT& list) override;
    bool OnListNotify(const NMHDR& header, LRESULT& result) override;

private:
    const SpaceTree& Tree() const noexcept { return m_page.m_analysis.Tree(); }
    void ShowTypes(std::vector<bool> chosen);
    void ShowFiles();
    void Fill(bool starting);
    void SetColumns(bool files);
    void ShowWindows(bool shown);
    void OnSelection();
    void Light(const std::vector<bool>& chosen);
    std::vector<bool> Chosen() const;
    std::string ChosenNames(const std::vector<bool>& chosen) const;
    void ShowStatus();
    LRESULT DrawSwatch(const NMLVCUSTOMDRAW& draw) const;

    ReportsResultsPage& m_page;
    CSplitter m_splitter;
    CSpaceMapView m_map;
    FileTypes m_types;
    // What each row stands for, by its item data less one: a type, or a file's node.
    std::vector<std::uint32_t> m_items;
    std::vector<bool> m_filesOf;  // the types whose files are listed; empty: the types are
    std::vector<bool> m_lit;      // the types lit on the map
    RECT m_area{};
    bool m_shown = false;
};
