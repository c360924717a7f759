// Finds files by name pattern below a folder, narrowed by size, date and the
// words their contents must hold.
#pragma once

#include "framework/FileFind.h"
#include "framework/SkipList.h"
#include "working/ProgressSink.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What the criteria page hands to the results page.
struct SearchCriteria {
    std::string fileName;
    std::string folder;
    std::string dateText;  // empty when the placeholder was left
    std::string keywords;
    int dateChoice = 0;  // 0 "After", 1 "Before"
    int subFolders = 1;
    int sizeChoice = 0;  // 0 "At Least", 1 "Less Than"
    std::string sizeText;
    std::string skip;  // the folders to leave out, as typed
};

struct SearchParameters {
    std::string pattern;
    std::string folder;
    std::vector<std::string> words;  // all must occur; none means no content test
    bool subFolders = true;
    std::int64_t sizeThreshold = 0;  // bytes; 0 or less: no size test
    bool atLeast = true;
    int day = 0;  // yyyymmdd of the typed date; 0: no date test
    bool after = true;
    framework::SkipList skip;
};

SearchParameters TakeCriteria(const SearchCriteria& criteria);
// Words are separated by any run of blanks and commas; a text of those alone
// holds none.
std::vector<std::string> SplitKeywords(const std::string& text);
// The yyyymmdd of a real date typed as YYYY/MM/DD, or 0.
int ParseSearchDate(const std::string& text);

// A match: the file's folder (absolute, no trailing backslash) and its listing entry.
using MatchSink = std::function<void(const std::string& folder, const framework::FileFind& file)>;

class FileSearch {
public:
    static constexpr size_t kBlockBytes = 4096;

    explicit FileSearch(SearchParameters parameters) : m_parameters(std::move(parameters)) {}

    // Reports each match as it is found; a stop ends the search at once.
    void Run(ProgressSink& progress, const MatchSink& onMatch);
    // The files that met every other test but were not read for the words
    // because their contents are kept online only.
    size_t OnlineSkipped() const noexcept { return m_onlineSkipped; }
    // The folders the skip list kept the search out of.
    size_t SkippedFolders() const noexcept { return m_skippedFolders; }

private:
    enum class Verdict { Pass, Fail, Stop };

    bool Search(const std::string& top, ProgressSink& progress, const MatchSink& onMatch);
    bool SearchFolder(const std::string& folder, ProgressSink& progress, const MatchSink& onMatch,
                      std::vector<std::string>& subFolders);
    bool Searches(const std::string& folder, const framework::FileFind& find);
    Verdict Test(const std::string& folder, const framework::FileFind& file, ProgressSink& progress);
    Verdict ContainsWords(const std::string& path, const char* name, ProgressSink& progress);
    bool Step(ProgressSink& progress, const char* format, const std::string& value);

    SearchParameters m_parameters;
    std::string m_patternFolder;
    std::string m_text;
    size_t m_onlineSkipped = 0;
    size_t m_skippedFolders = 0;
};
