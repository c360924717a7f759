// The analysis of a drive or folder on a local NTFS volume, built from its
// master file table, and the choice between that and the walk.
#pragma once

#include "reports/FolderAnalysis.h"
#include "reports/MftReader.h"

#include <functional>
#include <memory>
#include <string>

// The texts that say which way the analysis went.
inline constexpr const char* kReadingTableText = "Reading the drive's file table";
inline constexpr const char* kLookingAtFoldersText = "Looking at folders";

// Builds in the analysis what the walk of root + "\" + below would build
// (below: names separated by "\", empty for the volume's root folder), in the
// walk's order. False when the table holds no such folder, or only past a
// junction or mount point. The table's files and names are freed on the
// way, to make room for the analysis.
bool AnalyseTable(FolderAnalysis& analysis, MftTable& table, const std::string& root, const std::string& below,
                  ProgressSink& progress, const framework::SkipList& skip = {});

// The volume of a drive letter ("C:") when it is a local NTFS volume that can
// be opened for reading (which takes an administrator); else null.
std::unique_ptr<ByteSource> OpenNtfsVolume(const std::string& drive);

enum class AnalysisWay { FileTable, Folders };

// Analyses the target from its volume's table when that can be read, else by
// walking its folders; says which way it went. open: how a drive's volume is
// opened; tests replace it.
AnalysisWay Analyse(FolderAnalysis& analysis, const std::string& target, ProgressSink& progress,
                    const framework::SkipList& skip = {},
                    const std::function<std::unique_ptr<ByteSource>(const std::string&)>& open = OpenNtfsVolume);
