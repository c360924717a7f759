// Taking a result list elsewhere: to a CSV file a spreadsheet opens, and to
// the clipboard as text.
#pragma once

#include "framework/Handle.h"
#include "lists/FileList.h"

#include <windows.h>

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
// One CSV record, as ListCsv writes each: fields quoted where they must be,
// none a spreadsheet would evaluate.
void AppendCsvRecord(std::string& csv, const std::vector<std::string>& fields);

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
// Puts the selected rows on the clipboard as Unicode text; false when the
// clipboard could not be had.
bool CopySelectedRows(const CFileList& list);
