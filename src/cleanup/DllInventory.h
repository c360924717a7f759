// The libraries of the system directory and who made them.
#pragma once

#include "working/ProgressSink.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct LibraryEntry {
    std::string name;
    std::uint64_t size = 0;
    FILETIME lastWrite{};
    std::string description;
    std::string company;
};

// Every *.dll of the folder (no trailing backslash) with its version texts.
// Stops when progress says so, keeping the libraries met before.
std::vector<LibraryEntry> ListLibraries(const std::string& folder, ProgressSink& progress);
