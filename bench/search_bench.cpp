// Times the file search with the Working dialog: listing every file of the
// tree against a bare walk, and looking for words against plainly reading
// the same files.
#include "BenchTree.h"
#include "search/FileSearch.h"
#include "working/WorkingDlg.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kTextFolders = 20;
constexpr int kTextFilesPerFolder = 100;
constexpr int kTextFiles = kTextFolders * kTextFilesPerFolder;
constexpr double kMegabyte = 1024.0 * 1024.0;

constexpr const char* kKeywords = "quartz zephyr";
constexpr std::string_view kSought[] = {"quartz", "zephyr"};
constexpr size_t kNowhere = SIZE_MAX;

// Filler for the text files. The sought words hold a q or a z, which no
// filler word does, so they occur only where a file's plan puts them.
constexpr const char* kFiller[] = {
    "the",     "of",      "and",       "to",       "in",      "is",       "that",   "for",     "it",     "as",
    "was",     "with",    "be",        "by",       "on",      "not",      "he",     "this",    "are",    "or",
    "his",     "from",    "at",        "which",    "but",     "have",     "an",     "had",     "they",   "you",
    "were",    "their",   "one",       "all",      "we",      "can",      "her",    "has",     "there",  "been",
    "if",      "more",    "when",      "will",     "would",   "who",      "so",     "no",      "disk",   "space",
    "folder",  "file",    "report",    "drive",    "program", "archive",  "backup", "picture", "letter", "setup",
    "windows", "system",  "memory",    "network",  "printer", "document", "number", "total",   "length", "date",
    "older",   "larger",  "temporary", "copy",     "delete",  "recycle",  "open",   "print",   "list",   "name",
    "version", "meeting", "project",   "customer", "results", "annual",   "notes",  "plan",    "draft",  "source",
    "listing", "manual",  "settings",  "install",  "log",     "readme",   "photo",  "scan",    "holiday"};
constexpr int kFillerCount = static_cast<int>(std::size(kFiller));

constexpr bool FillerLacksSoughtLetters()
{
    for (const char* word : kFiller) {
        for (const char* c = word; *c; ++c) {
            if (*c == 'q' || *c == 'z')
                return false;
        }
    }
    return true;
}
static_assert(FillerLacksSoughtLetters());

struct TextFilePlan {
    size_t size = 0;
    // Where the blank before each sought word lies; another blank follows it.
    size_t at[std::size(kSought)] = {kNowhere, kNowhere};

    bool HoldsAll() const
    {
        return std::none_of(std::begin(at), std::end(at), [](size_t a) { return a == kNowhere; });
    }
    // The search reads whole blocks and stops after the one that completes the last word.
    size_t BytesSearched() const
    {
        if (!HoldsAll())
            return size;
        size_t last = 0;
        for (size_t i = 0; i < std::size(kSought); ++i)
            last = std::max(last, at[i] + kSought[i].size());
        return std::min(size, (last / FileSearch::kBlockBytes + 1) * FileSearch::kBlockBytes);
    }
};

// Most files 64 to 96 KB, one in ten up to 1 MB; about 200 MB in all. Half
// hold both words and a third only one of them, anywhere in the file.
TextFilePlan PlanTextFile(int index)
{
    std::uint64_t r = bench::Mix(0x5EA2C4000000ULL + static_cast<std::uint64_t>(index));
    TextFilePlan plan;
    if (r % 10 == 0) {
        double spread = static_cast<double>((r >> 8) % 1000000) / 1000000.0;
        plan.size = static_cast<size_t>(96 * 1024 * std::pow(1024.0 / 96.0, spread));
    } else {
        plan.size = 64 * 1024 + (r >> 8) % (32 * 1024);
    }
    size_t room = plan.size - 8;
    size_t first = bench::Mix(r) % room;
    size_t second = bench::Mix(r + 1) % room;
    if (second + 8 > first && first + 8 > second)
        second = (first + plan.size / 2) % room;
    switch ((r >> 40) % 6) {
    case 0:
    case 1:
    case 2:
        plan.at[0] = first;
        plan.at[1] = second;
        break;
    case 3:
        plan.at[0] = first;
        break;
    case 4:
        plan.at[1] = second;
        break;
    default:
        break;
    }
    return plan;
}

std::string TextOf(const TextFilePlan& plan, int index)
{
    std::string text;
    text.reserve(plan.size + 32);
    std::uint64_t state = static_cast<std::uint64_t>(index) << 32;
    int onLine = 0;
    while (text.size() < plan.size) {
        std::uint64_t r = bench::Mix(state++);
        text += kFiller[r % kFillerCount];
        unsigned mark = (r >> 32) % 16;
        if (mark == 0)
            text += '.';
        else if (mark == 1)
            text += ',';
        if (++onLine == 12) {
            text += "\r\n";
            onLine = 0;
        } else {
            text += ' ';
        }
    }
    text.resize(plan.size);
    for (size_t i = 0; i < std::size(kSought); ++i) {
        if (plan.at[i] == kNowhere)
            continue;
        text[plan.at[i]] = ' ';
        text.replace(plan.at[i] + 1, kSought[i].size(), kSought[i]);
        text[plan.at[i] + 1 + kSought[i].size()] = ' ';
    }
    return text;
}

bool BuildTextTree(const std::string& root)
{
    ::CreateDirectoryA(root.c_str(), nullptr);
    for (int shelf = 0; shelf < kTextFolders; ++shelf) {
        std::string folder = root + "\\notes " + std::to_string(shelf);
        ::CreateDirectoryA(folder.c_str(), nullptr);
        for (int i = 0; i < kTextFilesPerFolder; ++i) {
            int index = shelf * kTextFilesPerFolder + i;
            std::string path = folder + "\\note " + std::to_string(i) + ".txt";
            std::string text = TextOf(PlanTextFile(index), index);
            HANDLE file =
                ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            DWORD written = 0;
            bool made = file != INVALID_HANDLE_VALUE &&
                        ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                        written == text.size();
            if (file != INVALID_HANDLE_VALUE)
                ::CloseHandle(file);
            if (!made) {
                std::printf("cannot make %s (error %lu)\n", path.c_str(), ::GetLastError());
                return false;
            }
        }
    }
    return true;
}

SearchParameters EveryFileBelow(const std::string& folder, const char* keywords)
{
    SearchCriteria criteria;
    criteria.fileName = "*.*";
    criteria.folder = folder;
    criteria.keywords = keywords;
    criteria.subFolders = 1;
    criteria.sizeText = "0 KB";
    return TakeCriteria(criteria);
}

int SearchWithDialog(HWND page, const SearchParameters& parameters)
{
    int matches = 0;
    WorkingSession session(page, "Searching...");
    FileSearch(parameters).Run(session.Sink(), [&](const std::string&, const framework::FileFind&) { ++matches; });
    return matches;
}

}  // namespace

int main()
{
    const std::string tree = bench::TempPath("corvane-bench-tree");
    const std::string textTree = bench::TempPath("corvane-bench-text");
    if (!bench::ReuseOrBuild(tree, "tree", bench::kTreeFiles, bench::BuildFileTree) ||
        !bench::ReuseOrBuild(textTree, "text tree", kTextFiles, BuildTextTree))
        return 1;

    std::uint64_t textBytes = 0, bytesSearched = 0;
    int holdingAll = 0;
    for (int index = 0; index < kTextFiles; ++index) {
        TextFilePlan plan = PlanTextFile(index);
        textBytes += plan.size;
        bytesSearched += plan.BytesSearched();
        holdingAll += plan.HoldsAll() ? 1 : 0;
    }

    const SearchParameters listing = EveryFileBelow(tree, "");
    const SearchParameters words = EveryFileBelow(textTree, kKeywords);
    int walked = 0, listed = 0, matched = 0;
    std::uint64_t plainBytes = 0;
    std::vector<double> best;
    {
        bench::StandInWindow window;
        auto bareWalk = [&] { walked = bench::CountFiles(tree); };
        auto searchAll = [&] { listed = SearchWithDialog(window.Page(), listing); };
        auto plainRead = [&] {
            std::string folder = textTree;
            std::vector<char> block(FileSearch::kBlockBytes);
            plainBytes = 0;
            bench::ForEachFile(folder, [&](const std::string& in, const WIN32_FIND_DATAA& data) {
                HANDLE file = ::CreateFileA((in + "\\" + data.cFileName).c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
                if (file == INVALID_HANDLE_VALUE)
                    return;
                DWORD read = 0;
                while (::ReadFile(file, block.data(), FileSearch::kBlockBytes, &read, nullptr) && read > 0)
                    plainBytes += read;
                ::CloseHandle(file);
            });
        };
        auto searchWords = [&] { matched = SearchWithDialog(window.Page(), words); };

        // One pass over each tree first brings it into the caches.
        bareWalk();
        plainRead();
        best = bench::BestTimes({bareWalk, searchAll, plainRead, searchWords});
    }
    const double bare = best[0], all = best[1], plain = best[2], wordSearch = best[3];
    const double plainRate = static_cast<double>(plainBytes) / kMegabyte / plain;
    const double searchRate = static_cast<double>(textBytes) / kMegabyte / wordSearch;

    std::printf("bare walk: %.3f s\n", bare);
    std::printf("search *.* (Working dialog): %.3f s\n", all);
    std::printf("search *.* (Working dialog) / bare walk: %.2f\n", all / bare);
    std::printf("files: walk %d, search *.* %d\n", walked, listed);
    std::printf("plain read: %.3f s for %.1f MB read, %.1f MB/s\n", plain, static_cast<double>(plainBytes) / kMegabyte,
                plainRate);
    std::printf("word search \"%s\" (Working dialog): %.3f s for %.1f MB of files, %.1f MB/s of files searched\n",
                kKeywords, wordSearch, static_cast<double>(textBytes) / kMegabyte, searchRate);
    std::printf("  (it stops reading a file once it holds every word: %.1f MB read, %.1f MB/s read)\n",
                static_cast<double>(bytesSearched) / kMegabyte,
                static_cast<double>(bytesSearched) / kMegabyte / wordSearch);
    std::printf("word search throughput / plain read throughput: %.2f (MB of files searched vs. MB read, per second)\n",
                searchRate / plainRate);
    std::printf("matches: %d of %d files, %d expected\n", matched, kTextFiles, holdingAll);
    bench::PrintPeakWorkingSet();
    std::printf("target: search *.* (Working dialog) / bare walk <= 1.25\n");
    std::printf("target: word search throughput / plain read throughput >= 0.50\n");
    bool agree = walked == listed && matched == holdingAll && plainBytes == textBytes;
    if (!agree)
        std::printf("the counts disagree\n");
    return agree ? 0 : 1;
}
