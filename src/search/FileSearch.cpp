#include "search/FileSearch.h"

#include "framework/Handle.h"
#include "framework/Path.h"
#include "framework/Text.h"
#include "lists/FileText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

constexpr const char* kSeparators = " ,";

bool IsLetterOrDigit(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

int LocalDay(const FILETIME& time)
{
    FILETIME local{};
    SYSTEMTIME date{};
    if (!::FileTimeToLocalFileTime(&time, &local) || !::FileTimeToSystemTime(&local, &date))
        return 0;
    return date.wYear * 10000 + date.wMonth * 100 + date.wDay;
}

// The folder part of a pattern such as "sub\*.txt", "/" read as "\", without
// separators at its ends; empty for a pattern of a name alone.
std::string PatternFolder(const std::string& pattern)
{
    size_t slash = pattern.find_last_of("\\/");
    if (slash == std::string::npos)
        return {};
    std::string folder = pattern.substr(0, slash);
    std::replace(folder.begin(), folder.end(), '/', '\\');
    size_t start = folder.find_first_not_of('\\');
    if (start == std::string::npos)
        return {};
    return folder.substr(start, folder.find_last_not_of('\\') + 1 - start);
}

}  // namespace

std::vector<std::string> SplitKeywords(const std::string& text)
{
    std::vector<std::string> words;
    for (size_t start = text.find_first_not_of(kSeparators); start != std::string::npos;) {
        size_t end = text.find_first_of(kSeparators, start);
        words.push_back(text.substr(start, end - start));
        start = text.find_first_not_of(kSeparators, end);
    }
    // A text of separators alone holds no word, so it tests nothing.
    return words;
}

int ParseSearchDate(const std::string& text)
{
    int year = 0, month = 0, day = 0, used = 0;
    if (std::sscanf(text.c_str(), " %4d/%2d/%2d %n", &year, &month, &day, &used) != 3 ||
        static_cast<size_t>(used) != text.size())
        return 0;
    SYSTEMTIME date{};
    date.wYear = static_cast<WORD>(year);
    date.wMonth = static_cast<WORD>(month);
    date.wDay = static_cast<WORD>(day);
    FILETIME check{};
    SYSTEMTIME back{};
    // Only a real calendar day: the round trip refuses 2023/02/30 and the like.
    if (year < 1601 || !::SystemTimeToFileTime(&date, &check) || !::FileTimeToSystemTime(&check, &back) ||
        back.wDay != day || back.wMonth != month)
        return 0;
    return year * 10000 + month * 100 + day;
}

SearchParameters TakeCriteria(const SearchCriteria& criteria)
{
    SearchParameters parameters;
    parameters.pattern = criteria.fileName;
    parameters.folder = criteria.folder;
    if (!criteria.keywords.empty())
        parameters.words = SplitKeywords(criteria.keywords);
    parameters.subFolders = criteria.subFolders != 0;
    parameters.sizeThreshold = static_cast<std::int64_t>(framework::LeadingInteger(criteria.sizeText.c_str())) * 1024;
    parameters.atLeast = criteria.sizeChoice == 0;
    parameters.day = ParseSearchDate(criteria.dateText);
    parameters.after = criteria.dateChoice == 0;
    parameters.skip = framework::SkipList::Parse(criteria.skip);
    return parameters;
}

void FileSearch::Run(ProgressSink& progress, const MatchSink& onMatch)
{
    m_patternFolder = PatternFolder(m_parameters.pattern);
    Search(framework::AbsoluteFolder(m_parameters.folder), progress, onMatch);
}

bool FileSearch::Step(ProgressSink& progress, const char* format, const std::string& value)
{
    if (progress.WantsText()) {
        char text[MAX_PATH + 64];
        std::snprintf(text, sizeof text, format, value.c_str());
        m_text = text;
    }
    return progress.Step(m_text.c_str());
}

// The folder's own matches first, then its sub-folders one after the other,
// each with everything below it before the next. The sub-folders still to
// search wait on a stack of their own, not the thread's, so that no depth
// of tree exhausts it. Returns false once the user asked to stop.
bool FileSearch::Search(const std::string& top, ProgressSink& progress, const MatchSink& onMatch)
{
    struct Waiting {
        std::vector<std::string> subFolders;
        size_t next = 0;
        size_t length = 0;  // of the path of the folder holding them
    };
    std::vector<Waiting> waiting;
    std::string folder = top;
    for (;;) {
        std::vector<std::string> subFolders;
        if (!SearchFolder(folder, progress, onMatch, subFolders))
            return false;
        if (!subFolders.empty())
            waiting.push_back({std::move(subFolders), 0, folder.size()});
        while (!waiting.empty() && waiting.back().next == waiting.back().subFolders.size())
            waiting.pop_back();
        if (waiting.empty())
            return true;
        Waiting& holder = waiting.back();
        folder.resize(holder.length);
        folder += '\\';
        folder += holder.subFolders[holder.next++];
    }
}

// One folder's matches; its sub-folders to search go to subFolders, in the
// order listed. Returns false once the user asked to stop.
bool FileSearch::SearchFolder(const std::string& folder, ProgressSink& progress, const MatchSink& onMatch,
                              std::vector<std::string>& subFolders)
{
    std::string shown = folder.size() == 2 ? folder + "\\" : folder;
    if (m_skippedFolders > 0)
        shown += " (" + CountOf(m_skippedFolders, "folder") + " skipped)";
    if (!Step(progress, "Searching %s", shown))
        return false;
    // With a pattern that matches everything, one listing gives the sub-folders too.
    bool everything = m_parameters.pattern == "*.*" || m_parameters.pattern == "*";
    // A pattern with a folder part lists that folder: its matches live there.
    std::string matchFolder = m_patternFolder.empty() ? folder : folder + "\\" + m_patternFolder;
    framework::FileFind find;
    for (bool more = find.FindFile(folder + "\\" + m_parameters.pattern); more; more = find.FindNextFile()) {
        if (find.IsDirectory()) {
            if (everything && m_parameters.subFolders && Searches(folder, find))
                subFolders.emplace_back(find.GetFileName());
            continue;
        }
        Verdict verdict = Test(matchFolder, find, progress);
        if (verdict == Verdict::Stop)
            return false;
        if (verdict == Verdict::Pass)
            onMatch(matchFolder, find);
        if (!Step(progress, "Searching %s", shown))
            return false;
    }
    if (!m_parameters.subFolders || everything)
        return true;
    for (bool more = find.FindFile(folder + "\\*.*"); more; more = find.FindNextFile()) {
        if (find.IsDirectory() && Searches(folder, find))
            subFolders.emplace_back(find.GetFileName());
    }
    return true;
}

// Junctions and symbolic links are not followed (they may loop), nor the
// folders the skip list names, which are counted.
bool FileSearch::Searches(const std::string& folder, const framework::FileFind& find)
{
    if (find.IsDots() || find.IsReparsePoint())
        return false;
    const framework::SkipList& skip = m_parameters.skip;
    if (skip.Empty() || !skip.Skips(folder + '\\' + find.GetFileName(), find.GetFileName()))
        return true;
    ++m_skippedFolders;
    return false;
}

FileSearch::Verdict FileSearch::Test(const std::string& folder, const framework::FileFind& file, ProgressSink& progress)
{
    const SearchParameters& p = m_parameters;
    if (p.sizeThreshold > 0) {
        auto threshold = static_cast<std::uint64_t>(p.sizeThreshold);
        bool small = file.GetLength() < threshold;
        if (p.atLeast == small)
            return Verdict::Fail;
    }
    if (p.day != 0) {
        int day = LocalDay(file.GetLastWriteTime());
        if (p.after ? day <= p.day : day >= p.day)
            return Verdict::Fail;
    }
    if (p.words.empty())
        return Verdict::Pass;
    // Reading a file kept online fetches it: such a file is left unread, and counted.
    if (file.IsOnlineOnly()) {
        ++m_onlineSkipped;
        return Verdict::Fail;
    }
    return ContainsWords(folder + "\\" + file.GetFileName(), file.GetFileName(), progress);
}

FileSearch::Verdict FileSearch::ContainsWords(const std::string& path, const char* name, ProgressSink& progress)
{
    framework::KernelHandle file(::CreateFileW(framework::WidePath(path).c_str(), GENERIC_READ,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                               FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    // Contents that cannot be read were never searched: not a match.
    if (!file)
        return Verdict::Fail;

    std::vector<std::string> missing = m_parameters.words;
    // Contents are compared as if every byte but a letter or digit were a
    // blank: a word holding anything else can never be found, and a word of
    // letters and digits is found exactly where its bytes stand.
    if (!std::ranges::all_of(missing,
                             [](const std::string& word) { return std::ranges::all_of(word, IsLetterOrDigit); }))
        return Verdict::Fail;
    size_t longest = 0;
    for (const std::string& word : missing)
        longest = std::max(longest, word.size());
    // The tail of each block starts the next, so a word across two blocks is seen.
    size_t carryLimit = longest > 0 ? longest - 1 : 0;
    std::vector<char> buffer(carryLimit + kBlockBytes);
    size_t carried = 0;
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), buffer.data() + carried, kBlockBytes, &read, nullptr) || read == 0)
            break;
        size_t length = carried + read;
        std::string_view text(buffer.data(), length);
        std::erase_if(missing, [&](const std::string& word) { return text.find(word) != std::string_view::npos; });
        if (!Step(progress, "Looking for keywords in %s.", name))
            return Verdict::Stop;
        if (missing.empty())
            break;
        carried = std::min(carryLimit, length);
        std::memmove(buffer.data(), buffer.data() + length - carried, carried);
    }
    return missing.empty() ? Verdict::Pass : Verdict::Fail;
}
