// The Folder tree of the Reports results: every folder and file of the
// analysis in a tree sorted by size, above the space map, with a bar between
// them that shares the height. A row chosen is framed on the map; a tile
// clicked on the map selects its row.
#pragma once

#include "pages/Splitter.h"
#include "reports/FolderTreeList.h"
#include "reports/ResultsView.h"
#include "reports/SpaceMapView.h"

#include <functional>
#include <string>
#include <vector>

class FolderTreeView : public ResultsView {
public:
    struct Host {
        // The selection changed: the page's buttons follow it.
        std::function<void()> selectionChanged;
        // These paths went: the page records it in the tree.
        std::function<void(const std::vector<std::string>&)> removed;
    };

    explicit FolderTreeView(Host host);

    void Create(HWND page);
    // The analysis's tree; null while a new one is made.
    void SetTree(const SpaceTree* tree);
    CFolderTreeList& TreeList() noexcept { return m_list; }
    CSpaceMapView& Map() noexcept { return m_map; }

    std::string Caption() const override { return "Folder tree"; }
    void Show(const std::string& selected) override;
    void Hide() override { ShowWindows(false); }
    int SelectedCount() const override { return m_list.SelectedCount(); }
    std::vector<std::string> SelectedPaths() const override;
    void OpenSelected() override;
    void RemoveSelected(bool permanent) override;
    void Print() override;
    void Refresh() override;
    void Layout(const RECT& area) override;
    bool Exportable() const override { return m_list.Rows().Count() > 0; }
    std::string Csv() const override { return m_list.Csv(); }

private:
    void ShowWindows(bool shown);
    void OnTreeSelection();
    void OnMapChanged();

    Host m_host;
    HWND m_page = nullptr;
    CFolderTreeList m_list;
    CSplitter m_splitter;
    CSpaceMapView m_map;
};
