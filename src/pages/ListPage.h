// The base of every page that shows files in a list: the list's set-up,
// sorting by a clicked column, the placeholder row of an empty result,
// buttons that follow the selection, the layout that follows the window,
// Ctrl+C, and the buttons Open (IDC_OPEN), Recycle (IDC_RECYCLE), Delete
// (IDC_DELETE) and Print (IDC_PRINT) where a page has them.
#pragma once

#include "lists/FileList.h"
#include "pages/Page.h"

#include <string>
#include <vector>

struct ListColumn {
    const char* heading;
    int width;  // in 96-DPI pixels; wider where the heading needs it
};

// When a button of the page may be pressed.
enum class ButtonNeeds {
    Nothing,          // always
    Rows,             // the list holds files (not just the placeholder)
    OneSelectedFile,  // exactly one file row selected
    SelectedFiles,    // at least one file row selected
};

struct ListButton {
    int id;
    ButtonNeeds needs;
};

// The button row, right to left, of a page of files found: Print List,
// Delete, Recycle, Open and Start Over.
std::vector<ListButton> FoundFilesButtons();

struct ListPageLayout {
    UINT templateId;
    const char* helpKey;
    int listId;
    std::vector<ListColumn> columns;
    int sizeColumn;                   // -1: every column sorts as text
    int pathColumn = -1;              // takes the room the others leave (-1: none)
    std::vector<ListButton> buttons;  // the button row, right to left
    RowPlace newRows = RowPlace::End;
    bool folderRows = false;  // rows may name folders, which Delete takes whole
};

class ListPage : public Page {
public:
    // Wires Open, Recycle, Delete and Print.
    explicit ListPage(ListPageLayout layout, std::vector<PageLink> links = {}, const SettingsStore* settings = nullptr);

    const CFileList& Results() const noexcept { return m_list; }
    const ListModel& Rows() const noexcept { return m_list.Rows(); }
    bool HasPlaceholder() const noexcept { return m_placeholder; }
    // Rows of files, not just the placeholder.
    bool HasResults() const noexcept { return !m_placeholder && m_list.Rows().Count() > 0; }
    // What the list on show holds, where the tab's name does not say it all (empty: it does).
    virtual std::string ListTitle() const { return {}; }
    // What File > Export writes: the list's rows, or what a page shows instead.
    virtual bool CanExport() const { return HasResults(); }
    virtual std::string ExportCsv() const;

protected:
    BOOL OnInitDialog() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    void OnPageResize(int width, int height) override;

    CFileList& FileList() noexcept { return m_list; }
    // Empties the list; row keys start again from 1.
    void ClearList();
    // Adds a file row where the page keeps new rows; the size column shows size.
    void AddRow(std::initializer_list<std::string_view> cells, std::uint64_t size = 0);
    // After the last row of a run: the list and the buttons show every row.
    void ShowRows();
    // The single row of an empty result; file actions are off while it shows.
    void ShowPlaceholder(const char* message);
    // Recycles or deletes the selected files and drops the rows of those gone.
    void DeleteSelectedFiles(bool permanent);
    // Asked before the selected files are recycled or deleted; false keeps them.
    virtual bool ConfirmRemoval() { return true; }
    // After the shell has recycled or deleted these files of the list.
    virtual void OnFilesDeleted(const std::vector<std::string>&) {}
    // Shows an "On disk" column right of the size column, filled from the
    // rows' bytes on disk, or takes it away; rows added before are cleared.
    void ShowDiskColumn(bool shown);
    // A column a view adds at a place, and takes away again; the rows are cleared.
    void InsertColumn(int at, const char* heading, int width, SortKind kind);
    void RemoveColumn(int at);
    // The next click on any column sorts it ascending again.
    void ResetSortOrders() { m_ascending.assign(m_ascending.size(), false); }
    // The rows (or, on a page showing them otherwise, the files) selected.
    virtual int SelectedCount() const;
    void UpdateButtons();
    // A column's width in 96-DPI pixels, unless the user has dragged it to another.
    void SetColumnWidth(int column, int width);
    // A column's new heading and how it sorts; its width follows at the next
    // layout (SetColumnWidth, a new size), so that renaming several costs one.
    void SetColumnHeading(int column, const char* heading, SortKind kind = SortKind::Text);
    void UpdateDpi() override;
    // What Open, Recycle or Delete, and Print do: to the list's rows here,
    // to what a page shows instead of the list where it says so.
    virtual void OpenSelected();
    virtual void RemoveSelected(bool permanent);
    virtual void PrintSelected();

private:
    void OnColumnClick(int column);
    void OnHeaderNotify(const NMHDR& header);
    int ColumnWidth(size_t column, UINT dpi) const;
    // Every column at its width, the path column also taking what is left.
    void LayOutColumns();

    ListPageLayout m_layout;
    CFileList m_list;
    std::vector<bool> m_ascending;
    std::vector<SortKind> m_sorts;
    std::vector<int> m_widths;      // 96-DPI pixels
    std::vector<int> m_userWidths;  // dragged by the user, 96-DPI pixels; 0: not
    bool m_placeholder = false;
};
