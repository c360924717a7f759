// The rows of a result list, kept apart from the control that shows them, so
// that a list of a million rows costs the control no more than one of ten.
// The texts of all rows live in one buffer; a row is a few numbers.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Where a new row goes.
enum class RowPlace {
    End,        // after the others
    Top,        // before the others
    NameOrder,  // among the others, in order of column 0 without case
};

// Number: by the value of the digits in the text ("1,234", "12.5%"), the largest first when ascending.
enum class SortKind { Text, Size, OnDisk, Number };

// What a row that names something names.
enum class RowKind : std::uint8_t { FileRow, FolderRow };

// Byte by byte, the letters A to Z taken as a to z.
int CompareText(std::string_view a, std::string_view b) noexcept;

class ListModel {
public:
    // The icon of a file row is asked for when the row is first drawn.
    static constexpr int kIconNotYet = -3;
    // What a row without an image shows (the list control's I_IMAGENONE).
    static constexpr int kNoImage = -2;

    // sizeColumn: the column that shows the row's byte count (-1: none).
    explicit ListModel(int sizeColumn = -1) noexcept : m_sizeColumn(sizeColumn) {}

    void Clear();
    void Reserve(size_t rows);
    // A file (or folder) row; the cells of the size and disk columns are not
    // kept but written from size and onDisk (blank where not known). Its item
    // data is the number of rows added since Clear. Returns the row's place.
    size_t Add(std::initializer_list<std::string_view> cells, std::uint64_t size, RowPlace place = RowPlace::End,
               RowKind kind = RowKind::FileRow, std::uint64_t onDisk = 0);
    // A row that names no file: only its text, no icon, no size.
    size_t AddMessage(std::string_view text);

    size_t Count() const noexcept { return m_rows.size(); }
    int SizeColumn() const noexcept { return m_sizeColumn; }
    // The column that shows the bytes a row takes on the disk (-1: none).
    int DiskColumn() const noexcept { return m_diskColumn; }
    void SetDiskColumn(int column) noexcept { m_diskColumn = column; }
    std::string Text(size_t row, int column) const;
    // A file or a folder row, not a message.
    bool IsFile(size_t row) const noexcept { return m_rows[row].file; }
    bool IsFolder(size_t row) const noexcept { return m_rows[row].file && m_rows[row].kind == RowKind::FolderRow; }
    std::uint64_t Size(size_t row) const noexcept { return m_rows[row].size; }
    std::uint64_t OnDisk(size_t row) const noexcept { return m_rows[row].onDisk; }
    std::uint32_t Data(size_t row) const noexcept { return m_rows[row].data; }
    int Image(size_t row) const noexcept { return m_rows[row].image; }
    void SetImage(size_t row, int image) noexcept { m_rows[row].image = image; }

    // Reorders the rows by one column (stable). Text: A to Z when ascending,
    // letters taken without case. Size and OnDisk: by the rows' byte counts,
    // the largest first when ascending.
    // Returns, for every new place, the place the row had before.
    std::vector<size_t> Sort(int column, SortKind kind, bool ascending);
    // Drops the rows at these places (ascending, no repeats).
    void Remove(const std::vector<size_t>& rows);

private:
    struct Row {
        size_t text;  // where the row's cells start in m_text
        std::uint64_t size;
        std::uint64_t onDisk;
        std::uint32_t data;
        int image;
        bool file;
        RowKind kind;
        std::uint8_t cells;
    };

    std::string_view Cell(const Row& row, int column) const noexcept;
    size_t Place(RowPlace place, std::string_view name) const;
    size_t Insert(size_t place, Row row);

    int m_sizeColumn;
    int m_diskColumn = -1;
    std::vector<Row> m_rows;
    // Every row's cells, each ended by a zero. Removed rows leave their
    // texts behind until Clear.
    std::string m_text;
    std::uint32_t m_added = 0;
};
