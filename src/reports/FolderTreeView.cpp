#include "reports/FolderTreeView.h"

#include "lists/ListActions.h"
#include "lists/PrintList.h"
#include "resources/resource.h"

FolderTreeView::FolderTreeView(Host host)
    : m_host(std::move(host)),
      m_list({[this] { OnTreeSelection(); },
              [this](std::uint32_t node) { OpenPath(m_page, m_list.Rows().Tree()->Path(node)); }}),
      m_map({[](std::uint32_t) {}, [this] { OnMapChanged(); }})
{
}

void FolderTreeView::Create(HWND page)
{
    m_page = page;
    m_list.Create(page, IDC_FOLDER_TREE);
    m_splitter.Create(page, IDC_TREE_SPLITTER);
    m_map.Create(page, IDC_TREE_MAP);
    // In the tab order where the list stands.
    HWND after = ::GetDlgItem(page, IDC_RESULTS_LIST);
    for (HWND window : {m_list.GetSafeHwnd(), m_map.GetSafeHwnd()}) {
        ::SetWindowPos(window, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = window;
    }
}

void FolderTreeView::SetTree(const SpaceTree* tree)
{
    m_map.SetTree(tree);
    m_list.SetTree(tree);
}

// The list behind the tree holds nothing, so that it is not what Export writes.
void FolderTreeView::Show(const std::string& selected)
{
    if (!selected.empty() && m_list.Rows().Tree())
        m_list.SelectNode(m_list.Rows().Tree()->Find(selected));
    ShowWindows(true);
    ::SetFocus(m_list.List());
}

void FolderTreeView::ShowWindows(bool shown)
{
    int show = shown ? SW_SHOW : SW_HIDE;
    ::ShowWindow(::GetDlgItem(m_page, IDC_RESULTS_LIST), shown ? SW_HIDE : SW_SHOW);
    for (HWND window : {m_list.GetSafeHwnd(), m_splitter.GetSafeHwnd(), m_map.GetSafeHwnd()})
        ::ShowWindow(window, show);
    if (shown)
        m_host.selectionChanged();
}

std::vector<std::string> FolderTreeView::SelectedPaths() const
{
    std::vector<std::string> paths;
    for (size_t row : m_list.Selected())
        paths.push_back(m_list.Rows().Path(row));
    return paths;
}

void FolderTreeView::OpenSelected()
{
    std::vector<std::string> paths = SelectedPaths();
    if (paths.size() == 1)
        OpenPath(m_page, paths.front());
}

void FolderTreeView::RemoveSelected(bool permanent)
{
    const FolderTreeRows& rows = m_list.Rows();
    std::vector<RemovalRequest> requests;
    for (size_t row : m_list.Selected())
        requests.push_back({rows.Path(row), rows.Tree()->At(rows.Node(row)).folder});
    if (requests.empty())
        return;
    RemovedPaths removed = RemovePaths(m_page, requests, permanent);
    if (!removed.paths.empty())
        m_host.removed(removed.paths);
}

void FolderTreeView::Print()
{
    PrintPages(m_page, [&](PrintTarget& target, int width, int height) { m_list.Print(target, width, height); });
}

void FolderTreeView::Refresh()
{
    m_list.Refresh();
    m_map.Refresh();
}

// The tree above, the map below, the bar where the user left it.
void FolderTreeView::Layout(const RECT& area)
{
    m_splitter.Arrange(area, m_list.GetSafeHwnd(), m_map.GetSafeHwnd());
}

// The map frames the row chosen last.
void FolderTreeView::OnTreeSelection()
{
    size_t row = m_list.Focused();
    m_map.Select(row == FolderTreeRows::kNoRow ? SpaceTree::kNone : m_list.Rows().Node(row));
    m_host.selectionChanged();
}

void FolderTreeView::OnMapChanged()
{
    if (m_map.Selected() != SpaceTree::kNone)
        m_list.SelectNode(m_map.Selected());
}
