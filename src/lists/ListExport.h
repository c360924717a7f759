// Taking a result list elsewhere: to a CSV file a spreadsheet opens, and to
// the clipboard as text.
#pragma once

#include "framework/Handle.h"
#include "lists/FileList.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Every row in the order shown, as RFC 4180 CSV in UTF-8 with a byte-order
// mark: the column captions first; where the list has a size column a last
// column "Bytes" holds the exact size, and dates read as YYYY-MM-DD. A cell
// a spreadsheet would evaluate as a formula starts with a quote (numbers
// stay numbers); so it does in RowsText.
std::string ListCsv(const CFileList& list);
// Writes the CSV of the list to path, through a temporary file beside it that
// then replaces it, so that a failure never leaves half a file. Returns
// ERROR_SUCCESS or the error that stopped it.
DWORD ExportList(const CFileList& list, const std::string& path);
// The same for any CSV text.
DWORD WriteCsv(const std::string& csv, const std::string& path);
// The pieces of such a CSV: its start (the byte-order mark), a record of
// fields (quoted where needed, formulas made inert), a date as YYYY-MM-DD.
std::string CsvStart();
void AppendCsvRecord(std::string& csv, const std::vector<std::string>& fields);
// One field of such a record, without the comma before it.
void AppendCsvField(std::string& csv, const std::string& field);
std::string IsoDateText(std::string dateText);

// A file written whole or not at all: what is written goes to a temporary
// file beside the target, which takes the target's place only on Commit.
class ExportFile : framework::NonCopyable {
public:
    explicit ExportFile(const std::string& target);
    ~ExportFile();

    // Appends the text; the first failure is kept, and Commit returns it.
    void Write(std::string_view text);
    // ERROR_SUCCESS, or the error that kept the target as it was.
    DWORD Commit();

private:
    std::string m_target;
    framework::KernelHandle m_file;
    std::wstring m_path;
    DWORD m_error = ERROR_SUCCESS;
    bool m_placed = false;
};
// The names the temporary file may take, tried in order until one is free.
constexpr int kExportTemporaryNames = 16;
std::string ExportTemporaryName(const std::string& target, int attempt);

// The rows (every column, tab-separated, one row a line) with the column
// captions first.
std::string RowsText(const CFileList& list, const std::vector<size_t>& rows);
// The same for any rows: cell(row, column) gives each cell's text.
std::string TabbedText(const std::vector<std::string>& captions, size_t rows,
                       const std::function<std::string(size_t, size_t)>& cell);
// Puts the selected rows on the clipboard as Unicode text; false when the
// clipboard could not be had.
bool CopySelectedRows(const CFileList& list);
// Puts the text on the clipboard as Unicode text; false when it could not be had.
bool CopyText(HWND owner, const std::string& text);
