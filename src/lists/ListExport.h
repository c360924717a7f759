// Taking a result list elsewhere: to a CSV file a spreadsheet opens, and to
// the clipboard as text.
#pragma once

#include "lists/FileList.h"

#include <windows.h>

#include <string>
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
// The names the temporary file may take, tried in order until one is free.
constexpr int kExportTemporaryNames = 16;
std::string ExportTemporaryName(const std::string& target, int attempt);

// The rows (every column, tab-separated, one row a line) with the column
// captions first.
std::string RowsText(const CFileList& list, const std::vector<size_t>& rows);
// Puts the selected rows on the clipboard as Unicode text; false when the
// clipboard could not be had.
bool CopySelectedRows(const CFileList& list);
