// The rows of the folder tree: the nodes of an analysis's tree that the user
// opened, in the order shown. A row is one node number; texts are made only
// for the rows drawn, so opening a folder costs the rows it adds.
#pragma once

#include "reports/SpaceTree.h"

#include <cstdint>
#include <string>
#include <vector>

enum class TreeColumn { Name, Size, OnDisk, Share, Files, Changed };
constexpr int kTreeColumnCount = 6;

class FolderTreeRows {
public:
    static constexpr size_t kNoRow = SIZE_MAX;

    // The target as the one row, opened (null: no rows).
    void Attach(const SpaceTree* tree);
    // After nodes were removed: their rows go, the totals and the order follow.
    void Refresh();

    const SpaceTree* Tree() const noexcept { return m_tree; }
    size_t Count() const noexcept { return m_rows.size(); }
    std::uint32_t Node(size_t row) const { return m_rows[row]; }
    int Depth(size_t row) const;
    // A folder with something left in it.
    bool CanOpen(size_t row) const;
    bool IsOpen(size_t row) const;
    // Each returns how many rows it added or took away.
    size_t Open(size_t row);
    size_t Close(size_t row);
    // Opens the folder and every folder below it.
    size_t OpenAll(size_t row);
    // The row of the folder holding the row's node (kNoRow for the target).
    size_t ParentRow(size_t row) const;
    // The node's row, its folders opened where they were closed (kNoRow: not in the tree).
    size_t Reveal(std::uint32_t node);
    size_t RowOf(std::uint32_t node) const;

    // Every folder's children by the column; descending: largest, newest or
    // Z first. Kept for the folders opened later.
    void Sort(TreeColumn column, bool descending);
    TreeColumn SortColumn() const noexcept { return m_column; }
    bool SortDescending() const noexcept { return m_descending; }

    // The files below a node, each counted once (a file: 1, a further name: 0).
    std::uint32_t Files(std::uint32_t node) const { return m_files[node]; }
    // The node's share of its folder's bytes, 0 to 1 (none for the target).
    double Share(size_t row) const;
    std::string Text(size_t row, TreeColumn column) const;
    std::string Path(size_t row) const { return m_tree->Path(m_rows[row]); }

private:
    // The folder's children still there, in the order of the sort.
    std::vector<std::uint32_t> SortedChildren(std::uint32_t folder) const;
    bool Before(std::uint32_t a, std::uint32_t b) const;
    // What lies below the row's node: its children, and theirs where wanted.
    std::vector<std::uint32_t> Below(std::uint32_t folder, const std::vector<bool>* open) const;
    size_t Insert(size_t row, const std::vector<std::uint32_t>& nodes);
    void CountFiles();

    const SpaceTree* m_tree = nullptr;
    std::vector<std::uint32_t> m_rows;
    std::vector<std::uint32_t> m_files;
    TreeColumn m_column = TreeColumn::Size;
    bool m_descending = true;
};
