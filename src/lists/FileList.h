// A result list: a virtual list control (LVS_OWNERDATA) that shows the rows
// of a model of its own. The control asks for the texts and icons of the
// rows it draws, so showing a list costs the same for any number of rows.
#pragma once

#include "lists/FileIcons.h"
#include "lists/ListModel.h"

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

class CFileList {
public:
    explicit CFileList(int sizeColumn = -1) noexcept : m_rows(sizeColumn) {}
    CFileList(const CFileList&) = delete;
    CFileList& operator=(const CFileList&) = delete;

    void Attach(HWND list) noexcept { m_list = list; }
    HWND GetSafeHwnd() const noexcept { return m_list; }
    const ListModel& Rows() const noexcept { return m_rows; }
    // For filling many rows at once; Show then tells the control.
    ListModel& Rows() noexcept { return m_rows; }

    // The control's column captions, left to right.
    std::vector<std::string> Captions() const;
    // The width a column needs to show its whole heading.
    int HeadingWidth(int column) const;

    // Rows whose file names stand alone (no folder column) are prefix + column 0.
    void SetFolderPrefix(std::string prefix) { m_folderPrefix = std::move(prefix); }
    // The file a row names: prefix + column 0, or column 1 + "\" + column 0.
    std::string Path(size_t row) const;

    void Clear();
    // Adds a file row; the control learns of it without redrawing every row,
    // at once when the row is on show, else within a quarter of a second.
    size_t Add(std::initializer_list<std::string_view> cells, std::uint64_t size, RowPlace place = RowPlace::End);
    void AddMessage(std::string_view text);
    // Brings the control up to date after rows were added.
    void Show();

    // The row's icon in the system image list, asked for the first time it is needed.
    int Icon(size_t row);

    // The next selected row after the given one (-1: from the top), or -1.
    int NextSelected(int after) const noexcept;
    std::vector<size_t> Selected() const;
    void Select(size_t row, bool selected = true) noexcept;

    // Sorts the model; the selected rows stay selected.
    void Sort(int column, SortKind kind, bool ascending);
    // Drops these rows (ascending); the other selected rows stay selected.
    void Remove(const std::vector<size_t>& rows);

    // Answers the control's questions about rows (texts, icons, type-ahead);
    // false for a notification that is not one of them.
    bool OnNotify(const NMHDR& header, LRESULT& result);

private:
    void SetCount(DWORD flags) noexcept;
    void Reselect(const std::vector<size_t>& rows) noexcept;
    int FindByPrefix(std::string_view prefix, int start, bool wrap) const;

    static constexpr DWORD kCountEveryMs = 250;

    HWND m_list = nullptr;
    ListModel m_rows;
    DWORD m_countedAt = 0;
    size_t m_visibleEnd = 0;  // past the last row on show when the control was last counted
    std::string m_folderPrefix;
    FileIconCache m_icons;
};
