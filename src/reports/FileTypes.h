// What kinds of files an analysis found: its files' totals per extension,
// counted from the analysis's tree in one pass over its nodes.
#pragma once

#include "reports/SpaceTree.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The extension as the types list shows it: ".iso" in lower case, or "" for none.
std::string ExtensionOf(std::string_view name);
// What the types list shows for one: the extension, or "(no extension)".
std::string ExtensionText(const std::string& extension);

struct FileType {
    std::string extension;  // "" for files without one
    FileClass fileClass = FileClass::Other;
    std::uint64_t size = 0;
    std::uint64_t onDisk = 0;
    std::uint64_t files = 0;
};

struct FileTypes {
    static constexpr std::uint32_t kNoType = UINT32_MAX;

    // Largest on the disk first.
    std::vector<FileType> types;
    // Each node's type, kNoType for folders and for what counts nothing
    // (removed, or a further name of a file).
    std::vector<std::uint32_t> typeOf;
    std::uint64_t onDisk = 0;  // of all the files

    // The type of an extension as ExtensionOf gives it, or kNoType.
    std::uint32_t Find(std::string_view extension) const;
    // The files of the chosen types, largest on the disk first.
    std::vector<std::uint32_t> FilesOf(const SpaceTree& tree, const std::vector<bool>& chosen) const;
    // Per node: whether it is a file of the chosen types.
    std::vector<bool> NodesOf(const std::vector<bool>& chosen) const;
};

FileTypes CountFileTypes(const SpaceTree& tree);
