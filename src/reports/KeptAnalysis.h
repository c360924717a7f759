// The folder totals of the last complete analysis of each target, kept in
// the user's local application data to tell which folders grew since.
//
// One file per target, "Analysis-<hash of the target>.dat", little-endian:
//   "CVKA", u32 version, u64 analysis time (UTC file-time ticks),
//   u32 length + the target's path, u32 length + the skip list's text
//   (version 2), u32 folder count, then per folder u32 length + its path
//   below the target, u64 bytes, u32 files, u64 bytes on disk (version 2;
//   version 1 ends the record before them).
// A file ends exactly after its last folder; anything else is not trusted.
// One larger than its count of folders can need, or than 256 MiB, is refused
// before its folders are read.
#pragma once

#include "reports/FolderAnalysis.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct KeptAnalysis {
    std::string target;
    std::uint64_t time = 0;  // UTC file-time ticks
    std::string skipText;    // the folders it left out, as SkipList::Text gives them
    std::vector<FolderTotal> folders;
};

class AnalysisKeeper {
public:
    static constexpr size_t kTargetLimit = 32;

    // Keeps its files in the folder (created when first needed).
    explicit AnalysisKeeper(std::string folder) : m_folder(std::move(folder)) {}
    // "Corvane" below the user's local application data.
    static std::string DefaultFolder();

    // Replaces the target's kept analysis through a temporary file, then
    // drops the oldest targets' files beyond the limit. False when it failed.
    bool Keep(const std::string& target, std::uint64_t time, const std::vector<FolderTotal>& folders,
              const std::string& skipText = {}) const;
    // The target's kept analysis; none when missing, damaged, of another
    // version or of another target.
    std::optional<KeptAnalysis> Load(const std::string& target) const;

    std::string FileFor(const std::string& target) const;

private:
    void DropOldest() const;

    std::string m_folder;
};

// The folders that grew most since the kept analysis (new ones count from
// zero), up to the rank limit: path and size now, the growth in dateText.
std::vector<ReportEntry> GrownFolders(const KeptAnalysis& before, const std::vector<FolderTotal>& now);
