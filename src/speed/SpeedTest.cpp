#include "speed/SpeedTest.h"

#include "framework/Clock.h"
#include "framework/Handle.h"
#include "framework/Path.h"

#include <cstdio>
#include <cstring>

const char* const kSpeedTestCaptions[kSpeedTestCount] = {
    "Same sector reads", "Sequential reads", "Random reads", "Same sector writes", "Sequential writes", "Random writes",
};

namespace {

constexpr DWORD kFileBytes = 1024 * 1024;
constexpr DWORD kFillBlock = 512;
constexpr const char* kScratchFolderName = "~vrmttest";

const char* const kProgress[kSpeedTestCount] = {
    " - Testing Same Sector Reads...",  " - Testing Sequential Reads...",  " - Testing Random Reads...",
    " - Testing Same Sector Writes...", " - Testing Sequential Writes...", " - Testing Random Writes...",
};

// A buffer aligned for unbuffered transfers: page-aligned memory.
class AlignedBuffer : framework::NonCopyable {
public:
    explicit AlignedBuffer(DWORD bytes) noexcept
        : m_data(static_cast<BYTE*>(::VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)))
    {
    }
    ~AlignedBuffer()
    {
        if (m_data)
            ::VirtualFree(m_data, 0, MEM_RELEASE);
    }
    BYTE* Get() const noexcept { return m_data; }

private:
    BYTE* m_data;
};

BYTE FillByte()
{
    return static_cast<BYTE>(NextRandom() % 256);
}

bool FillTestFile(HANDLE file)
{
    BYTE block[kFillBlock];
    for (DWORD i = 0; i < kFileBytes / kFillBlock; ++i) {
        std::memset(block, FillByte(), sizeof block);
        DWORD written = 0;
        if (!::WriteFile(file, block, sizeof block, &written, nullptr) || written != sizeof block)
            return false;
    }
    return true;
}

std::string TempFolderOn(const std::string& root)
{
    wchar_t temp[MAX_PATH + 1] = L"";
    if (::GetTempPathW(MAX_PATH + 1, temp) == 0)
        return {};
    std::string folder = framework::NarrowText(temp);
    bool sameDrive = folder.size() >= 3 && root.size() >= 3 && _strnicmp(folder.c_str(), root.c_str(), 3) == 0;
    return sameDrive ? folder : std::string();
}

// The scratch file in the first place of a drive that takes it, removed
// with the folder made for it when the run ends, whichever way. Whatever
// already stands at a name, a link included, is another's and left alone.
class ScratchFile : framework::NonCopyable {
public:
    explicit ScratchFile(const std::string& root)
    {
        if (Make(root))
            return;
        if (std::string temp = TempFolderOn(root); !temp.empty() && Make(temp))
            return;
        std::string folder = root + kScratchFolderName;
        std::wstring wide = framework::WidePath(folder);
        if (::CreateDirectoryW(wide.c_str(), nullptr)) {
            m_folder = folder;
            ::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN);
        } else {
            // One left by a run that was killed may take the file, but is
            // not removed; a link may lead anywhere.
            DWORD attributes = framework::GetPathAttributes(folder);
            if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
                (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
                return;
        }
        Make(folder + "\\");
    }
    ~ScratchFile()
    {
        // Deleted on close, so it is the file this run made that goes, and
        // goes even when the program is killed.
        m_file.reset();
        if (!m_folder.empty())
            ::RemoveDirectoryW(framework::WidePath(m_folder).c_str());
    }
    // Empty when no place on the drive took it.
    const std::string& Path() const noexcept { return m_path; }

private:
    // Only a name that was free is ours; a full disk deletes the part made.
    bool Make(const std::string& folder)
    {
        for (int attempt = 0; attempt < kScratchNameCount; ++attempt) {
            std::string path = folder + ScratchFileName(attempt);
            framework::KernelHandle file(::CreateFileW(
                framework::WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
            if (!file)
                continue;
            if (!FillTestFile(file.get()))
                return false;
            m_file = std::move(file);
            m_path = path;
            return true;
        }
        return false;
    }

    std::string m_folder;
    framework::KernelHandle m_file;
    std::string m_path;
};

// Drives with larger sectors refuse smaller unbuffered transfers.
DWORD TransferBytes(const std::string& root)
{
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    std::string drive = root.substr(0, 3);
    if (::GetDiskFreeSpaceA(drive.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters) &&
        bytesPerSector > 512 && bytesPerSector <= 65536)
        return bytesPerSector;
    return 512;
}

class TimedTest {
public:
    TimedTest(HANDLE file, BYTE* buffer, DWORD transfer, DWORD milliseconds)
        : m_file(file), m_buffer(buffer), m_transfer(transfer), m_milliseconds(milliseconds),
          m_blocks(kFileBytes / transfer), m_start(framework::GetClock().tickCount())
    {
    }

    bool Running() const { return framework::GetClock().tickCount() - m_start < m_milliseconds; }
    DWORD Elapsed() const { return framework::GetClock().tickCount() - m_start; }
    DWORD Blocks() const { return m_blocks; }
    unsigned Count() const { return m_count; }

    void Seek(DWORD block) { ::SetFilePointer(m_file, static_cast<LONG>(block * m_transfer), nullptr, FILE_BEGIN); }
    DWORD RandomBlock() { return static_cast<DWORD>(NextRandom()) % m_blocks; }
    void Fill() { std::memset(m_buffer, FillByte(), m_transfer); }
    // Only a transfer that happened counts.
    void Read() { Transfer(::ReadFile); }
    void Write() { Transfer(::WriteFile); }

private:
    template <typename Call> void Transfer(Call call)
    {
        DWORD done = 0;
        if (call(m_file, m_buffer, m_transfer, &done, nullptr) && done == m_transfer)
            ++m_count;
    }

    HANDLE m_file;
    BYTE* m_buffer;
    DWORD m_transfer;
    DWORD m_milliseconds;
    DWORD m_blocks;
    DWORD m_start;
    unsigned m_count = 0;
};

// Where each transfer of a test goes; writes change the buffer first, except
// the random ones.
enum class Place { Same, Next, Random };
struct Pattern {
    Place place;
    bool write;
    bool fill;
};
constexpr Pattern kPatterns[kSpeedTestCount] = {
    {Place::Same, false, false}, {Place::Next, false, false}, {Place::Random, false, false},
    {Place::Same, true, true},   {Place::Next, true, true},   {Place::Random, true, false},
};

void RunLoop(int test, TimedTest& t)
{
    const Pattern& pattern = kPatterns[test];
    while (t.Running()) {
        for (DWORD i = 0; i < t.Blocks() && t.Running(); ++i) {
            if (pattern.place != Place::Next)
                t.Seek(pattern.place == Place::Same ? 0 : t.RandomBlock());
            if (pattern.fill)
                t.Fill();
            pattern.write ? t.Write() : t.Read();
        }
        if (pattern.place == Place::Next)
            t.Seek(0);
    }
}

void RunTest(int test, const std::string& path, DWORD transfer, DWORD milliseconds, const SpeedCell& cell)
{
    framework::KernelHandle file(
        ::CreateFileW(framework::WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                      FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_NO_BUFFERING | FILE_FLAG_WRITE_THROUGH, nullptr));
    AlignedBuffer buffer(transfer);
    if (!file || !buffer.Get())
        return;
    TimedTest timed(file.get(), buffer.Get(), transfer, milliseconds);
    RunLoop(test, timed);
    DWORD elapsed = timed.Elapsed();
    file.reset();
    cell(test, FormatSpeed(timed.Count(), transfer, elapsed));
}

}  // namespace

int RuntimeRandom::Next() noexcept
{
    m_state = m_state * 214013u + 2531011u;
    return static_cast<int>((m_state >> 16) & 0x7FFF);
}

int NextRandom()
{
    static RuntimeRandom generator;
    return generator.Next();
}

std::string ScratchFileName(int attempt)
{
    if (attempt == 0)
        return kScratchFileName;
    return "~vrmttest" + std::to_string(attempt) + ".tmp";
}

std::string FormatSpeed(unsigned count, unsigned transferBytes, DWORD elapsedMilliseconds)
{
    double kilobytes = count * (transferBytes / 1024.0);
    char text[64];
    std::snprintf(text, sizeof text, "%.2f KB/sec", kilobytes / (elapsedMilliseconds ? elapsedMilliseconds : 1) * 1000);
    return text;
}

DriveRun RunDriveTests(const std::string& root, ProgressSink& progress, const SpeedCell& cell, DWORD testMilliseconds)
{
    progress.StepPhase((root + " - Creating Test File...").c_str());
    ScratchFile scratch(root);
    if (scratch.Path().empty()) {
        cell(0, kNoWriteAccess);
        return DriveRun::NotWritable;
    }
    DWORD transfer = TransferBytes(root);
    for (int test = 0; test < kSpeedTestCount; ++test) {
        if (!progress.StepPhase((root + kProgress[test]).c_str()))
            return DriveRun::Stopped;
        RunTest(test, scratch.Path(), transfer, testMilliseconds, cell);
    }
    return DriveRun::Tested;
}
