// One walk over a drive or folder tree that sorts its files into fourteen
// reports: four ranked by size or date, ten collecting files by name.
#pragma once

#include "working/ProgressSink.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace framework {
class FileFind;
}

// One file a report keeps.
struct ReportEntry {
    std::string path;  // folder + "\" + name
    std::uint64_t size = 0;
    std::string dateText;  // as FormatFileDate writes it
    std::int64_t day = 0;  // local day number, ordered as dateText; 0 for "00/00/00"
};

// The reports, in the order of their lists and captions.
enum ReportIndex {
    kLargest,
    kSmallest,
    kOldest,
    kNewest,
    kShortNames,
    kPictures,
    kZip,
    kNumeric,
    kBak,
    kTmp,
    kIco,
    kIni,
    kHlp,
    kUnderscore,
    kReportCount
};

// The reports' captions, in the order of their lists.
extern const char* const kReportCaptions[kReportCount];

// The name rules of the collecting reports (4 to 13), on the bare file name.
bool IsShortName(const char* name);
bool IsPictureName(const char* name);
bool IsNumericExtension(const char* name);
bool HasSuffix(const char* name, const char* suffix);
bool EndsWithUnderscore(const char* name);

class FolderAnalysis {
public:
    // The capacity of the ranked reports.
    static constexpr size_t kRankLimit = 100;

    // Forgets the previous analysis and walks the target (a drive root such
    // as C:\ or a folder). Reports progress at every file and folder; a stop
    // ends the walk at once and keeps what was gathered. Junctions and
    // symbolic links to folders are not followed.
    void Start(const std::string& target, ProgressSink& progress);

    const std::vector<ReportEntry>& Report(int index) const { return m_lists.at(static_cast<size_t>(index)); }
    int FilesAnalyzed() const noexcept { return m_filesAnalyzed; }
    double TotalKilobytes() const noexcept { return m_totalKilobytes; }

private:
    bool Walk(std::string& folder, ProgressSink& progress);
    void Offer(const std::string& folder, const framework::FileFind& file);
    std::int64_t DayOf(const FILETIME& time) const;

    std::array<std::vector<ReportEntry>, kReportCount> m_lists;
    int m_filesAnalyzed = 0;
    double m_totalKilobytes = 0;
    std::int64_t m_localBias = 0;  // local time minus UTC, in file-time ticks
    char m_progressText[80] = "";
};
