#include "BenchTree.h"

#include "framework/FileFind.h"
#include "framework/Win32.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <limits>

namespace bench {

namespace {

constexpr int kTopFolders = 20;
constexpr int kSubFolders = 100;
constexpr int kFilesPerFolder = 50;
static_assert(kTopFolders * kSubFolders * kFilesPerFolder == kTreeFiles);

// Every report rule gets its files; the rest are ordinary names. Each folder
// uses every pattern twice, the file's number keeping the names apart.
constexpr const char* kNamePatterns[] = {
    // short names, pictures, archives, numeric extensions
    "a%d.txt", "b%d.c", "photo %d.bmp", "scan%d.gif", "holiday%d.jpg", "portrait%d.jpeg", "archive%d.zip",
    "backup%d.000", "split%d.001", "volume%d.5",
    // leftovers and system files
    "letter%d.bak", "setup%d.tmp", "program%d.ico", "settings%d.ini", "manual%d.hlp", "driver%d.dl_",
    // ordinary names
    "Annual report %d.docx", "Quarterly results %d.xlsx", "Meeting notes %d.txt", "Project plan %d.mpp",
    "Customer database %d.mdb", "Presentation draft %d.ppt", "Source listing %d.cpp", "Installation log %d.log",
    "Readme for version %d.htm"};
constexpr int kPatternCount = static_cast<int>(std::size(kNamePatterns));

// No data is written: the file system keeps the files sparse.
bool MakeFile(const std::string& path, std::uint64_t size, std::int64_t writeTime)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    FILETIME time = framework::FileTimeFromTicks(static_cast<std::uint64_t>(writeTime));
    bool made = ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file) &&
                ::SetFileTime(file, nullptr, nullptr, &time);
    ::CloseHandle(file);
    return made;
}

}  // namespace

std::uint64_t Mix(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

double Seconds(const LARGE_INTEGER& from)
{
    LARGE_INTEGER now{}, frequency{};
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double TimeOf(const std::function<void()>& run)
{
    LARGE_INTEGER start{};
    ::QueryPerformanceCounter(&start);
    run();
    return Seconds(start);
}

std::vector<double> BestTimes(const std::vector<std::function<void()>>& passes)
{
    std::vector<double> best(passes.size(), std::numeric_limits<double>::max());
    for (int round = 0; round < kRuns; ++round) {
        for (size_t i = 0; i < passes.size(); ++i)
            best[i] = std::min(best[i], TimeOf(passes[i]));
    }
    return best;
}

std::string TempPath(const char* name)
{
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + name;
}

bool ReuseOrBuild(const std::string& root, const char* label, int files,
                  const std::function<bool(const std::string&)>& build)
{
    // Written last, so a build cut short is done again.
    const std::string marker = root + ".complete";
    if (::GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES) {
        std::printf("%s: %s (reused)\n", label, root.c_str());
    } else {
        std::printf("%s: %s, building %d files...\n", label, root.c_str(), files);
        std::fflush(stdout);
        LARGE_INTEGER start{};
        ::QueryPerformanceCounter(&start);
        if (!build(root))
            return false;
        MakeFile(marker, 0, framework::kTicksFrom1601To1970);
        std::printf("built in %.1f s\n", Seconds(start));
    }
    std::fflush(stdout);
    return true;
}

bool BuildFileTree(const std::string& root)
{
    ::CreateDirectoryA(root.c_str(), nullptr);
    char name[MAX_PATH];
    for (int top = 0; top < kTopFolders; ++top) {
        std::string topFolder = root + "\\top" + std::to_string(top);
        ::CreateDirectoryA(topFolder.c_str(), nullptr);
        for (int sub = 0; sub < kSubFolders; ++sub) {
            int folderIndex = top * kSubFolders + sub;
            std::string folder = topFolder + "\\folder " + std::to_string(sub);
            ::CreateDirectoryA(folder.c_str(), nullptr);
            for (int i = 0; i < kFilesPerFolder; ++i) {
                std::uint64_t r = Mix(static_cast<std::uint64_t>(folderIndex * kFilesPerFolder + i));
                // Sizes spread evenly over orders of magnitude, up to 8 MB.
                std::uint64_t size = (r >> 8) % (std::uint64_t{1} << (r % 24));
                if (i == 0 && folderIndex % 400 == 0)
                    size = (std::uint64_t{4} << 30) + (r >> 8) % (std::uint64_t{2} << 30);
                // Written on any day of 25 years from 2000, a few back in 1975.
                std::int64_t seconds = 946684800 + static_cast<std::int64_t>((r >> 16) % (25 * 365 * 86400ULL));
                if (i == 1 && folderIndex % 250 == 0)
                    seconds = 157766400 + static_cast<std::int64_t>((r >> 16) % (365 * 86400ULL));
                std::snprintf(name, sizeof name, kNamePatterns[i % kPatternCount], i);
                if (!MakeFile(folder + "\\" + name, size,
                              framework::kTicksFrom1601To1970 + seconds * framework::kTicksPerSecond)) {
                    std::printf("cannot make %s\\%s (error %lu)\n", folder.c_str(), name, ::GetLastError());
                    return false;
                }
            }
        }
    }
    return true;
}

int CountFiles(const std::string& root)
{
    std::string folder = root;
    while (folder.size() > 2 && folder.back() == '\\')
        folder.pop_back();
    int count = 0;
    ForEachFile(folder, [&](const std::string&, const WIN32_FIND_DATAA&) { ++count; });
    return count;
}

namespace {

int CountWide(std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ++count;
            continue;
        }
        std::wstring_view name = data.cFileName;
        if (name == L"." || name == L".." || (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        size_t length = folder.size();
        folder += L'\\';
        folder += name;
        count += CountWide(folder);
        folder.resize(length);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return count;
}

int CountListed(std::string& folder)
{
    framework::FileFind find;
    int count = 0;
    for (bool more = find.FindFile(folder + "\\*.*"); more; more = find.FindNextFile()) {
        if (!find.IsDirectory()) {
            ++count;
        } else if (!find.IsDots() && !find.IsReparsePoint()) {
            size_t length = folder.size();
            folder += '\\';
            folder += find.GetFileName();
            count += CountListed(folder);
            folder.resize(length);
        }
    }
    return count;
}

std::string WithoutTrailingSeparator(std::string folder)
{
    while (folder.size() > 2 && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

}  // namespace

int CountFilesWide(const std::string& root)
{
    // The literal form, so that names ending in a dot are listed as they are.
    std::wstring folder = L"\\\\?\\" + framework::WideText(WithoutTrailingSeparator(root));
    return CountWide(folder);
}

int CountFilesByHandle(const std::string& root)
{
    std::string folder = WithoutTrailingSeparator(root);
    return CountListed(folder);
}

void PrintPeakWorkingSet()
{
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof memory);
    std::printf("peak working set: %.1f MB\n", static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0));
}

StandInWindow::StandInWindow()
    : m_frame(::CreateWindowExA(0, "STATIC", "Corvane", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 620, 400, nullptr,
                                nullptr, nullptr, nullptr)),
      m_page(::CreateWindowExA(WS_EX_CONTROLPARENT, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 600, 360, m_frame,
                               nullptr, nullptr, nullptr))
{
}

StandInWindow::~StandInWindow()
{
    ::DestroyWindow(m_frame);
}

}  // namespace bench
