// Finds the files of an analysis that hold the same bytes without reading
// most of them: files are grouped by size, then by a hash of their first
// and last blocks, and only where those agree by a hash of all their bytes.
#pragma once

#include "reports/SpaceTree.h"
#include "working/ProgressSink.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct DuplicateFile {
    std::uint32_t node;
    std::uint64_t lastWrite;  // file-time ticks, as the search read them
};

// The copies of one content, in the order the analysis met them.
struct DuplicateGroup {
    std::uint64_t size = 0;
    std::vector<DuplicateFile> files;

    // What removing all copies but one frees.
    std::uint64_t Waste() const noexcept { return size * (files.size() - 1); }
};

struct DuplicateResult {
    std::vector<DuplicateGroup> groups;  // the most space wasted first
    bool completed = false;              // false: stopped, only confirmed groups kept
    std::uint64_t bytesRead = 0;
    std::uint64_t sharedSizeBytes = 0;  // of every file whose size another one shares
    int changed = 0;                    // size or last-write time changed, or gone: left out
    int online = 0;                     // kept online only: never read
    int unreadable = 0;                 // could not be opened or read
};

struct DuplicateOptions {
    // A file's attributes, where the file system cannot show them (tests); empty: the file's own.
    std::function<DWORD(const std::string& path)> attributes;
};

// Head and tail blocks of this size; a file of two blocks or less is read whole at once.
inline constexpr std::uint32_t kDuplicateEndBlock = 4096;
// Whole files are read in pieces of this size.
inline constexpr std::uint32_t kDuplicateReadSize = 1 << 20;

// Compares the files of the tree of 1 byte or more; further names of one
// file are skipped. Each file is read at most once per stage, and a stop
// keeps the groups already confirmed.
DuplicateResult FindDuplicates(const SpaceTree& tree, ProgressSink& progress, const DuplicateOptions& options = {});
