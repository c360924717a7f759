// What the benchmarks share: the tree of 100,000 files they walk, the bare
// walk they are measured against, best-of timing and the windows a Working
// dialog needs.
#pragma once

#include "framework/Path.h"

#include "working/ProgressSink.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

constexpr int kRuns = 3;
constexpr int kTreeFiles = 100000;

class NullSink : public ProgressSink {
public:
    bool Step(const char*) override { return true; }
};

// The same bits for the same number on every run, so trees come out alike.
std::uint64_t Mix(std::uint64_t x);

double Seconds(const LARGE_INTEGER& from);
double TimeOf(const std::function<void()>& run);
// The best time of each pass over kRuns rounds. The passes take turns, so
// that a slow patch of the machine hits every measurement alike.
std::vector<double> BestTimes(const std::vector<std::function<void()>>& passes);

// A folder of that name in the temporary folder.
std::string TempPath(const char* name);
// Builds the tree unless an earlier run finished it; false when building fails.
bool ReuseOrBuild(const std::string& root, const char* label, int files,
                  const std::function<bool(const std::string&)>& build);
// The 100,000 files with names for every report rule, sparse, of all sizes and dates.
bool BuildFileTree(const std::string& root);

// Every file below folder (a full path without a trailing backslash), in
// listing order, as the plainest FindFirstFileA walk does it. folder grows
// while the walk is below it and comes back as it was.
template <typename OnFile> void ForEachFile(std::string& folder, OnFile&& onFile)
{
    WIN32_FIND_DATAA data;
    // The plain form would list "apache" for a folder "apache.": such a path is taken literally.
    std::string literal = framework::HasNameTheShellWouldChange(folder) ? "\\\\?\\" : "";
    HANDLE find = ::FindFirstFileA((literal + folder + "\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            onFile(folder, data);
            continue;
        }
        std::string_view name = data.cFileName;
        if (name == "." || name == ".." || (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        size_t length = folder.size();
        folder += '\\';
        folder += name;
        ForEachFile(folder, onFile);
        folder.resize(length);
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
}

int CountFiles(const std::string& root);
// The same walk through the wide-character calls, and through the program's
// own listing, which reads a folder by its handle.
int CountFilesWide(const std::string& root);
int CountFilesByHandle(const std::string& root);

void PrintPeakWorkingSet();

// A main window and its page, for a WorkingSession to own its dialog and disable.
class StandInWindow {
public:
    StandInWindow();
    StandInWindow(const StandInWindow&) = delete;
    StandInWindow& operator=(const StandInWindow&) = delete;
    ~StandInWindow();

    HWND Page() const noexcept { return m_page; }

private:
    HWND m_frame;
    HWND m_page;
};

}  // namespace bench
