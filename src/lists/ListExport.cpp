#include "lists/ListExport.h"

#include "framework/Handle.h"
#include "framework/Path.h"
#include "framework/Win32.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

bool IsDigits(std::string_view text) noexcept
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A date as FormatFileDate writes it: "1998/07/04", or "00/00/00".
bool IsDateText(std::string_view text) noexcept
{
    if (text == "00/00/00")
        return true;
    return text.size() == 10 && text[4] == '/' && text[7] == '/' && IsDigits(text.substr(0, 4)) &&
           IsDigits(text.substr(5, 2)) && IsDigits(text.substr(8, 2));
}

// A column whose every text is a date (or empty: a folder without files) is a date column.
std::vector<bool> DateColumns(const ListModel& rows, size_t columns)
{
    std::vector<bool> dates(columns);
    for (size_t column = 0; column < columns; ++column) {
        bool any = false, all = true;
        for (size_t row = 0; row < rows.Count() && all; ++row) {
            if (!rows.IsFile(row))
                continue;
            std::string text = rows.Text(row, static_cast<int>(column));
            any = any || !text.empty();
            all = text.empty() || IsDateText(text);
        }
        dates[column] = any && all;
    }
    return dates;
}

// A plain number, sign and decimal point allowed: a spreadsheet takes it
// as the number it is.
bool IsPlainNumber(std::string_view text) noexcept
{
    if (!text.empty() && (text[0] == '+' || text[0] == '-'))
        text.remove_prefix(1);
    size_t point = text.find('.');
    if (point != std::string_view::npos)
        return text.size() > 1 && IsDigits(text.substr(0, point)) && IsDigits(text.substr(point + 1));
    return !text.empty() && IsDigits(text);
}

// A spreadsheet evaluates a cell that starts with one of these: any name can
// carry a formula, and "+1.20 M" would show as an error. A leading quote
// keeps it text.
std::string Inert(std::string text)
{
    if (text.empty() || std::string_view("=+-@\t\r").find(text[0]) == std::string_view::npos || IsPlainNumber(text))
        return text;
    return "'" + text;
}

void AppendField(std::string& csv, const std::string& field)
{
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        csv += field;
        return;
    }
    csv += '"';
    for (char c : field) {
        if (c == '"')
            csv += '"';
        csv += c;
    }
    csv += '"';
}

using GlobalMemory = framework::UniqueHandle<framework::NullIsEmpty<HGLOBAL, ::GlobalFree>>;

class ClipboardScope : framework::NonCopyable {
public:
    explicit ClipboardScope(HWND owner) noexcept : m_open(::OpenClipboard(owner) != FALSE) {}
    ~ClipboardScope()
    {
        if (m_open)
            ::CloseClipboard();
    }
    explicit operator bool() const noexcept { return m_open; }

private:
    bool m_open;
};

// A cell on one line of its own: tabs and line breaks would start new cells and rows.
std::string OneLine(std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text;
}

}  // namespace

std::string CsvStart()
{
    return kByteOrderMark;
}

void AppendCsvRecord(std::string& csv, const std::vector<std::string>& fields)
{
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            csv += ',';
        AppendCsvField(csv, fields[i]);
    }
    csv += "\r\n";
}

void AppendCsvField(std::string& csv, const std::string& field)
{
    AppendField(csv, Inert(framework::Utf8Text(field)));
}

std::string IsoDateText(std::string text)
{
    if (text == "00/00/00")
        return {};
    std::replace(text.begin(), text.end(), '/', '-');
    return text;
}

std::string ListCsv(const CFileList& list)
{
    const ListModel& rows = list.Rows();
    std::vector<std::string> fields = list.Captions();
    const size_t columns = fields.size();
    const bool bytes = rows.SizeColumn() >= 0;
    const bool onDisk = rows.DiskColumn() >= 0;
    if (bytes)
        fields.emplace_back("Bytes");
    if (onDisk)
        fields.emplace_back("Bytes on disk");
    std::string csv = CsvStart();
    AppendCsvRecord(csv, fields);
    std::vector<bool> dates = DateColumns(rows, columns);
    for (size_t row = 0; row < rows.Count(); ++row) {
        if (!rows.IsFile(row))
            continue;
        fields.clear();
        for (size_t column = 0; column < columns; ++column) {
            std::string text = rows.Text(row, static_cast<int>(column));
            fields.push_back(dates[column] ? IsoDateText(std::move(text)) : std::move(text));
        }
        if (bytes)
            fields.push_back(std::to_string(rows.Size(row)));
        if (onDisk)
            fields.push_back(rows.OnDisk(row) == framework::kUnknownBytes ? std::string()
                                                                          : std::to_string(rows.OnDisk(row)));
        AppendCsvRecord(csv, fields);
    }
    return csv;
}

std::string ExportTemporaryName(const std::string& target, int attempt)
{
    // Beside the target, so that the replacing stays on one volume.
    return target + "." + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(attempt) + ".tmp";
}

DWORD ExportList(const CFileList& list, const std::string& path)
{
    return WriteCsv(ListCsv(list), path);
}

DWORD WriteCsv(const std::string& csv, const std::string& path)
{
    ExportFile file(path);
    file.Write(csv);
    return file.Commit();
}

// Under a name that was free beside the target; whatever stood at a name is left alone.
ExportFile::ExportFile(const std::string& target) : m_target(target)
{
    for (int attempt = 0; attempt < kExportTemporaryNames && !m_file; ++attempt) {
        std::wstring path = framework::WidePath(ExportTemporaryName(target, attempt));
        m_file.reset(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        m_error = ::GetLastError();
        if (m_file)
            m_path = std::move(path);
    }
    if (m_file)
        m_error = ERROR_SUCCESS;
}

ExportFile::~ExportFile()
{
    m_file.reset();
    if (!m_path.empty() && !m_placed)
        ::DeleteFileW(m_path.c_str());
}

void ExportFile::Write(std::string_view text)
{
    if (m_error != ERROR_SUCCESS || text.empty())
        return;
    DWORD written = 0;
    if (!::WriteFile(m_file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
        m_error = ::GetLastError();
    else if (written != text.size())
        m_error = ERROR_DISK_FULL;
}

DWORD ExportFile::Commit()
{
    if (m_error == ERROR_SUCCESS && !::FlushFileBuffers(m_file.get()))
        m_error = ::GetLastError();
    if (m_error != ERROR_SUCCESS)
        return m_error;
    m_file.reset();
    if (!::MoveFileExW(m_path.c_str(), framework::WidePath(m_target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return m_error = ::GetLastError();
    m_placed = true;
    return ERROR_SUCCESS;
}

std::string TabbedText(const std::vector<std::string>& captions, size_t rows,
                       const std::function<std::string(size_t, size_t)>& cell)
{
    std::string text;
    auto appendLine = [&](auto cellOf) {
        for (size_t column = 0; column < captions.size(); ++column) {
            if (column > 0)
                text += '\t';
            text += Inert(OneLine(cellOf(column)));
        }
        text += "\r\n";
    };
    appendLine([&](size_t column) { return captions[column]; });
    for (size_t row = 0; row < rows; ++row)
        appendLine([&](size_t column) { return cell(row, column); });
    return text;
}

std::string RowsText(const CFileList& list, const std::vector<size_t>& rows)
{
    return TabbedText(list.Captions(), rows.size(),
                      [&](size_t row, size_t column) { return list.Rows().Text(rows[row], static_cast<int>(column)); });
}

bool CopySelectedRows(const CFileList& list)
{
    std::vector<size_t> rows = list.Selected();
    std::erase_if(rows, [&](size_t row) { return !list.Rows().IsFile(row); });
    return rows.empty() || CopyText(list.GetSafeHwnd(), RowsText(list, rows));
}

bool CopyText(HWND owner, const std::string& utf8)
{
    std::wstring text = framework::WideText(utf8);
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    GlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory)
        return false;
    void* data = ::GlobalLock(memory.get());
    if (!data)
        return false;
    std::memcpy(data, text.c_str(), bytes);
    ::GlobalUnlock(memory.get());
    ClipboardScope clipboard(owner);
    if (!clipboard || !::EmptyClipboard() || !::SetClipboardData(CF_UNICODETEXT, memory.get()))
        return false;
    // The clipboard owns the memory now.
    memory.release();
    return true;
}
