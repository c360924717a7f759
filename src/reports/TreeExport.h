// The whole tree of an analysis as a file, one row per folder and file, in
// the order the walk met them (a folder after what lies in it, the target
// last), and read back into an analysis.
//
// CSV (UTF-8 with a byte-order mark, quoted as Export List quotes):
//   Path,Type,Size,On disk,Files,Last change,Attributes
// Type is "file" or "folder"; sizes are bytes; a file's Files is 1, or 0 for
// a further name of a file counted where it was met first; a folder's is
// the files below it. Last change is UTC, as 2024-05-31T17:04:09Z (a
// folder's: its newest file's, empty without files). Attributes are letters:
// R H S D A C (compressed) P (sparse) L (link) O (kept online) E (encrypted).
// JSON holds the same fields, one object a row, in an array.
#pragma once

#include "lists/ListExport.h"
#include "reports/FileTypes.h"
#include "reports/FolderAnalysis.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class TreeFormat { Csv, Json };

class TreeWriter : public AnalysisListener {
public:
    TreeWriter(ExportFile& file, TreeFormat format);

    void OnFile(const std::string& folder, const FileFacts& file, bool counted) override;
    void OnFolder(const ClosedFolder& folder) override;
    // The rows of a report instead of the tree: its files, or its folders.
    void WriteReport(const std::vector<ReportEntry>& entries, bool folders);
    // Writes what is still buffered, and the end of the array for JSON.
    void Finish();

private:
    struct Row {
        std::string_view path;
        bool folder;
        std::uint64_t size;
        std::optional<std::uint64_t> onDisk;
        std::uint64_t files;
        std::string lastChange;
        DWORD attributes;
    };
    void Write(const Row& row);
    void WriteJson(const Row& row);

    ExportFile& m_file;
    TreeFormat m_format;
    std::string m_buffer;
    bool m_first = true;
};

// The file types of an analysis, largest on the disk first, instead of its
// tree: Extension,Class,Size,On disk,Files (in JSON extension, class, size,
// onDisk and files).
void WriteFileTypes(ExportFile& file, TreeFormat format, const FileTypes& types);

// Replays a whole-tree CSV into the analysis. False, with the reason in
// error ("line 12: ..."), for a file that is not one, is damaged or is cut
// short; the analysis is then left empty.
bool LoadTree(const std::string& path, FolderAnalysis& analysis, std::string& error);
