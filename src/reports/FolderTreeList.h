// The folder tree control: the rows the user opened of an analysis's tree, in
// a virtual list control that draws each row itself, indented by depth, with
// a glyph on folders that open and a bar for each row's share of its folder.
// The control asks only for the rows it draws. Right opens a folder or goes
// to its first child, Left closes it or goes to its folder, * opens
// everything below; a click on the glyph or a double-click opens or closes a
// folder, a double-click on a file opens it; a click on a column sorts every
// folder by it, a second click the other way.
#pragma once

#include "framework/Handle.h"
#include "framework/Window.h"
#include "lists/FileIcons.h"
#include "reports/FolderTreeRows.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

class PrintTarget;

class CFolderTreeList : public framework::Window {
public:
    struct Events {
        std::function<void()> selectionChanged;
        std::function<void(std::uint32_t)> openFile;
    };

    explicit CFolderTreeList(Events events);

    bool Create(HWND parent, UINT id);
    // The list control inside, which has the focus and the header.
    HWND List() const noexcept { return m_list; }
    // The target's row, opened and selected (null: no rows).
    void SetTree(const SpaceTree* tree);
    // After nodes were removed: their rows go, the totals and order follow.
    void Refresh();
    const FolderTreeRows& Rows() const noexcept { return m_rows; }

    std::vector<size_t> Selected() const;
    int SelectedCount() const;
    // The row with the focus, else the first selected (kNoRow: none).
    size_t Focused() const;
    // Selects only the node's row, its folders opened, and scrolls to it.
    void SelectNode(std::uint32_t node);
    // What the keys and clicks do, on a row.
    void Toggle(size_t row);
    void OpenAll(size_t row);
    void SortBy(TreeColumn column);

    // Every row shown, with its full path, sizes in bytes, files and date.
    std::string Csv() const;
    // The selected rows to the clipboard, as text; false when it could not be had.
    bool CopySelected() const;
    // The rows shown, indented as on screen.
    void Print(PrintTarget& target, int pageWidth, int pageHeight);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;

private:
    void AddColumns();
    int Icon(size_t row);
    RECT GlyphRect(size_t row) const;
    LRESULT OnCustomDraw(const NMLVCUSTOMDRAW& draw);
    void DrawRow(HDC dc, size_t row);
    void DrawCell(HDC dc, size_t row, int column, RECT cell, bool selected);
    void DrawName(HDC dc, size_t row, RECT cell);
    void OnKeyDown(WORD key);
    void OnClick(const NMITEMACTIVATE& click, bool twice);
    int FindByPrefix(std::string_view prefix, int start) const;
    // Runs a change that added (or, negative, took away) rows right after
    // row; the selection stays on its nodes, or passes to the row.
    void Reshape(size_t row, const std::function<std::ptrdiff_t()>& change);
    // Runs a change that may move every row; the selection stays on its nodes.
    void Rebuild(const std::function<void()>& change);
    void Forget(const std::vector<size_t>& selected, size_t focus);
    void Show(const std::vector<size_t>& selected, size_t focus);
    // Forgets the selection first, where the rows have not changed since.
    void SelectRow(size_t row);
    // Only the row selected (kNoRow: none), and scrolled to.
    void ShowOnly(size_t row);

    Events m_events;
    HWND m_list = nullptr;  // a child, destroyed with this window
    FolderTreeRows m_rows;
    size_t m_counted = 0;
    FileIconCache m_icons;
    std::unordered_map<std::uint32_t, int> m_iconOf;  // of the files drawn so far
    framework::GdiObject<HBRUSH> m_bar;
    bool m_quiet = false;  // while the selection is put back
};
