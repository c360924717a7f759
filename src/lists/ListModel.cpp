#include "lists/ListModel.h"

#include "framework/Text.h"
#include "framework/Win32.h"
#include "lists/FileText.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

// The digits of a number as a list writes it, its separators and sign skipped.
std::uint64_t DigitsValue(std::string_view text) noexcept
{
    std::uint64_t value = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

unsigned char Fold(char c) noexcept
{
    return static_cast<unsigned char>(framework::LowerAscii(c));
}

}  // namespace

int CompareText(std::string_view a, std::string_view b) noexcept
{
    size_t length = std::min(a.size(), b.size());
    size_t i = 0;
    // Most of two paths is alike byte for byte: skip that eight at a time,
    // and fold only where they differ.
    for (; i + 8 <= length; i += 8) {
        std::uint64_t first, second;
        std::memcpy(&first, a.data() + i, 8);
        std::memcpy(&second, b.data() + i, 8);
        if (first != second)
            break;
    }
    for (; i < length; ++i) {
        if (a[i] == b[i])
            continue;
        int difference = Fold(a[i]) - Fold(b[i]);
        if (difference != 0)
            return difference;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

void ListModel::Clear()
{
    // A list of a million rows gives its memory back.
    std::vector<Row>().swap(m_rows);
    std::string().swap(m_text);
    m_added = 0;
}

void ListModel::Reserve(size_t rows)
{
    m_rows.reserve(rows);
}

size_t ListModel::Add(std::initializer_list<std::string_view> cells, std::uint64_t size, RowPlace place, RowKind kind,
                      std::uint64_t onDisk)
{
    Row row{m_text.size(), size, onDisk, ++m_added,
            kIconNotYet,   true, kind,   static_cast<std::uint8_t>(std::min<size_t>(cells.size(), 255))};
    int column = 0;
    for (std::string_view cell : cells) {
        if (column == row.cells)
            break;
        if (column != m_sizeColumn && column != m_diskColumn)
            m_text += cell;
        ++column;
        m_text += '\0';
    }
    return Insert(Place(place, cells.size() ? *cells.begin() : std::string_view{}), row);
}

size_t ListModel::AddMessage(std::string_view text)
{
    Row row{m_text.size(), 0, 0, ++m_added, kNoImage, false, RowKind::FileRow, 1};
    m_text += text;
    m_text += '\0';
    return Insert(m_rows.size(), row);
}

size_t ListModel::Place(RowPlace place, std::string_view name) const
{
    switch (place) {
    case RowPlace::End:
        break;
    case RowPlace::Top:
        return 0;
    case RowPlace::NameOrder:
        // Listings often come in name order already: try the end first.
        if (m_rows.empty() || CompareText(Cell(m_rows.back(), 0), name) <= 0)
            break;
        return static_cast<size_t>(std::upper_bound(m_rows.begin(), m_rows.end(), name,
                                                    [this](std::string_view key, const Row& row) {
                                                        return CompareText(key, Cell(row, 0)) < 0;
                                                    }) -
                                   m_rows.begin());
    }
    return m_rows.size();
}

size_t ListModel::Insert(size_t place, Row row)
{
    m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(place), row);
    return place;
}

std::string_view ListModel::Cell(const Row& row, int column) const noexcept
{
    // A row holds as many cells as it was given; those past them are empty.
    if (column < 0 || column >= row.cells)
        return {};
    const char* cell = m_text.data() + row.text;
    for (int i = 0; i < column; ++i)
        cell += std::char_traits<char>::length(cell) + 1;
    return cell;
}

std::string ListModel::Text(size_t row, int column) const
{
    const Row& entry = m_rows[row];
    if (column == m_sizeColumn)
        return entry.file ? FormatFileSize(entry.size) : std::string();
    if (column == m_diskColumn)
        return entry.file && entry.onDisk != framework::kUnknownBytes ? FormatFileSize(entry.onDisk) : std::string();
    return std::string(Cell(entry, column));
}

std::vector<size_t> ListModel::Sort(int column, SortKind kind, bool ascending)
{
    std::vector<size_t> order(m_rows.size());
    std::iota(order.begin(), order.end(), size_t{0});
    if (kind != SortKind::Text) {
        std::vector<std::uint64_t> values(m_rows.size());
        for (size_t i = 0; i < m_rows.size(); ++i)
            values[i] = kind == SortKind::Size     ? m_rows[i].size
                        : kind == SortKind::OnDisk ? m_rows[i].onDisk
                                                   : DigitsValue(Cell(m_rows[i], column));
        auto bytes = [&](size_t row) { return values[row]; };
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            std::uint64_t first = bytes(a), second = bytes(b);
            return ascending ? first > second : first < second;
        });
    } else {
        // The keys are found once, not at every comparison.
        std::vector<std::string_view> texts(m_rows.size());
        for (size_t i = 0; i < m_rows.size(); ++i)
            texts[i] = Cell(m_rows[i], column);
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return ascending ? CompareText(texts[a], texts[b]) < 0 : CompareText(texts[b], texts[a]) < 0;
        });
    }
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    for (size_t from : order)
        sorted.push_back(m_rows[from]);
    m_rows.swap(sorted);
    return order;
}

void ListModel::Remove(const std::vector<size_t>& rows)
{
    size_t kept = 0, next = 0;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (next < rows.size() && rows[next] == i) {
            ++next;
            continue;
        }
        m_rows[kept++] = m_rows[i];
    }
    m_rows.resize(kept);
}
