#include "reports/FolderTreeRows.h"

#include "framework/Win32.h"
#include "lists/FileText.h"
#include "lists/ListModel.h"

#include <algorithm>
#include <cstdio>

namespace {

// Nodes are numbered as the walk met them, every folder before what lies in
// it: going up from a node passes only smaller numbers.
bool LiesBelow(const SpaceTree& tree, std::uint32_t node, std::uint32_t folder)
{
    std::uint32_t at = tree.At(node).parent;
    while (at != SpaceTree::kNone && at > folder)
        at = tree.At(at).parent;
    return at == folder;
}

}  // namespace

void FolderTreeRows::Attach(const SpaceTree* tree)
{
    m_tree = tree && !tree->Empty() ? tree : nullptr;
    std::vector<std::uint32_t>().swap(m_rows);
    if (!m_tree) {
        std::vector<std::uint32_t>().swap(m_files);
        return;
    }
    CountFiles();
    m_rows.push_back(m_tree->Root());
    Open(0);
}

void FolderTreeRows::Refresh()
{
    if (!m_tree)
        return;
    std::erase_if(m_rows, [&](std::uint32_t node) { return m_tree->Removed(node); });
    CountFiles();
    Sort(m_column, m_descending);
}

// From the last node to the first, each adds its files to its folder's.
void FolderTreeRows::CountFiles()
{
    m_files.assign(m_tree->Count(), 0);
    for (size_t node = m_files.size(); node-- > 0;) {
        const SpaceTree::Node& entry = m_tree->At(static_cast<std::uint32_t>(node));
        if (entry.removed)
            continue;
        if (!entry.folder && !entry.linked)
            m_files[node] += 1;
        if (entry.parent != SpaceTree::kNone)
            m_files[entry.parent] += m_files[node];
    }
}

int FolderTreeRows::Depth(size_t row) const
{
    int depth = 0;
    for (std::uint32_t at = m_tree->At(m_rows[row]).parent; at != SpaceTree::kNone; at = m_tree->At(at).parent)
        ++depth;
    return depth;
}

bool FolderTreeRows::CanOpen(size_t row) const
{
    std::uint32_t node = m_rows[row];
    if (!m_tree->At(node).folder)
        return false;
    auto children = m_tree->Children(node);
    return std::any_of(children.begin(), children.end(), [&](std::uint32_t child) { return !m_tree->Removed(child); });
}

bool FolderTreeRows::IsOpen(size_t row) const
{
    return row + 1 < m_rows.size() && m_tree->At(m_rows[row + 1]).parent == m_rows[row];
}

std::vector<std::uint32_t> FolderTreeRows::SortedChildren(std::uint32_t folder) const
{
    std::vector<std::uint32_t> children;
    for (std::uint32_t child : m_tree->Children(folder)) {
        if (!m_tree->Removed(child))
            children.push_back(child);
    }
    // The tree keeps them by the room they take: equals stay so.
    std::stable_sort(children.begin(), children.end(),
                     [this](std::uint32_t a, std::uint32_t b) { return Before(a, b); });
    return children;
}

bool FolderTreeRows::Before(std::uint32_t a, std::uint32_t b) const
{
    if (!m_descending)
        std::swap(a, b);
    const SpaceTree::Node &first = m_tree->At(a), &second = m_tree->At(b);
    switch (m_column) {
    case TreeColumn::Name:
        // Z to A when descending, as the swap above has it.
        return CompareText(m_tree->Name(b), m_tree->Name(a)) < 0;
    case TreeColumn::Size:
    case TreeColumn::Share:
        return first.size > second.size;
    case TreeColumn::OnDisk:
        return first.onDisk > second.onDisk;
    case TreeColumn::Files:
        return m_files[a] > m_files[b];
    case TreeColumn::Changed:
        return first.changed > second.changed;
    }
    return false;
}

// Depth first, each folder's children in the order of the sort, into the
// folders open (every folder when open is null).
std::vector<std::uint32_t> FolderTreeRows::Below(std::uint32_t folder, const std::vector<bool>* open) const
{
    std::vector<std::uint32_t> nodes, pending;
    auto push = [&](std::uint32_t at) {
        std::vector<std::uint32_t> children = SortedChildren(at);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    };
    push(folder);
    while (!pending.empty()) {
        std::uint32_t node = pending.back();
        pending.pop_back();
        nodes.push_back(node);
        if (m_tree->At(node).folder && (!open || (*open)[node]))
            push(node);
    }
    return nodes;
}

size_t FolderTreeRows::Insert(size_t row, const std::vector<std::uint32_t>& nodes)
{
    m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(row) + 1, nodes.begin(), nodes.end());
    return nodes.size();
}

size_t FolderTreeRows::Open(size_t row)
{
    if (row >= m_rows.size() || IsOpen(row) || !m_tree->At(m_rows[row]).folder)
        return 0;
    return Insert(row, SortedChildren(m_rows[row]));
}

size_t FolderTreeRows::Close(size_t row)
{
    if (row >= m_rows.size())
        return 0;
    size_t end = row + 1;
    while (end < m_rows.size() && LiesBelow(*m_tree, m_rows[end], m_rows[row]))
        ++end;
    m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(row) + 1,
                 m_rows.begin() + static_cast<std::ptrdiff_t>(end));
    return end - row - 1;
}

size_t FolderTreeRows::OpenAll(size_t row)
{
    if (row >= m_rows.size() || !m_tree->At(m_rows[row]).folder)
        return 0;
    size_t closed = Close(row);
    std::vector<std::uint32_t> nodes = Below(m_rows[row], nullptr);
    // Exactly the room needed: a million rows must not take twice their space.
    m_rows.reserve(m_rows.size() + nodes.size());
    Insert(row, nodes);
    return nodes.size() - std::min(closed, nodes.size());
}

size_t FolderTreeRows::ParentRow(size_t row) const
{
    std::uint32_t parent = m_tree->At(m_rows[row]).parent;
    while (parent != SpaceTree::kNone && row-- > 0) {
        if (m_rows[row] == parent)
            return row;
    }
    return kNoRow;
}

size_t FolderTreeRows::RowOf(std::uint32_t node) const
{
    auto found = std::find(m_rows.begin(), m_rows.end(), node);
    return found == m_rows.end() ? kNoRow : static_cast<size_t>(found - m_rows.begin());
}

size_t FolderTreeRows::Reveal(std::uint32_t node)
{
    if (!m_tree || node == SpaceTree::kNone || node >= m_tree->Count() || m_tree->Removed(node))
        return kNoRow;
    std::vector<std::uint32_t> chain;
    for (std::uint32_t at = node; at != SpaceTree::kNone; at = m_tree->At(at).parent)
        chain.push_back(at);
    // From the target down, each folder opened and its child found below it.
    size_t row = 0;
    for (auto at = chain.rbegin() + 1; at != chain.rend(); ++at) {
        Open(row);
        size_t next = row + 1;
        while (next < m_rows.size() && m_rows[next] != *at)
            ++next;
        if (next == m_rows.size())
            return kNoRow;
        row = next;
    }
    return row;
}

void FolderTreeRows::Sort(TreeColumn column, bool descending)
{
    m_column = column;
    m_descending = descending;
    if (!m_tree || m_rows.empty())
        return;
    std::vector<bool> open(m_tree->Count());
    for (size_t row = 0; row < m_rows.size(); ++row)
        open[m_rows[row]] = IsOpen(row);
    std::uint32_t root = m_rows.front();
    std::vector<std::uint32_t> nodes = open[root] ? Below(root, &open) : std::vector<std::uint32_t>();
    std::vector<std::uint32_t>().swap(m_rows);
    m_rows.reserve(nodes.size() + 1);
    m_rows.push_back(root);
    Insert(0, nodes);
}

double FolderTreeRows::Share(size_t row) const
{
    const SpaceTree::Node& node = m_tree->At(m_rows[row]);
    if (node.parent == SpaceTree::kNone || node.linked)
        return 0;
    std::uint64_t whole = m_tree->At(node.parent).size;
    return whole == 0 ? 0 : static_cast<double>(node.size) / static_cast<double>(whole);
}

std::string FolderTreeRows::Text(size_t row, TreeColumn column) const
{
    std::uint32_t at = m_rows[row];
    const SpaceTree::Node& node = m_tree->At(at);
    switch (column) {
    case TreeColumn::Name:
        // The target by its whole path, a drive's root as C:\ .
        return node.parent == SpaceTree::kNone ? m_tree->Path(at) : std::string(m_tree->Name(at));
    case TreeColumn::Size:
        return node.linked ? "(counted once)" : FormatFileSize(node.size);
    case TreeColumn::OnDisk:
        return node.linked || node.onDisk == framework::kUnknownBytes ? std::string() : FormatFileSize(node.onDisk);
    case TreeColumn::Share: {
        if (node.parent == SpaceTree::kNone || node.linked || m_tree->At(node.parent).size == 0)
            return {};
        char text[16];
        std::snprintf(text, sizeof text, "%.1f %%", 100.0 * Share(row));
        return text;
    }
    case TreeColumn::Files:
        return node.folder ? FormatCount(m_files[at]) : std::string();
    case TreeColumn::Changed:
        return node.changed ? FormatFileDate(framework::FileTimeFromTicks(SpaceTree::TicksOf(node.changed)))
                            : std::string();
    }
    return {};
}
