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

const char* const kProgress[kSpeedTestCount] = {
    " - Testing Same Sector Reads...",  " - Testing Sequential Reads...",  " - Testing Random Reads...",
    " - Testing Same Sector Writes...", " - Testing Sequential Writes...", " - Testing Random Writes...",
};

// A buffer aligned for unbuffered transfers: page-aligned memory.
class AlignedBuffer {
public:
    explicit AlignedBuffer(DWORD bytes) noexcept
        : m_data(static_cast<BYTE*>(::VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)))
    {
    }
    AlignedBuffer(const AlignedBuffer&) = delete;
    AlignedBuffer& operator=(const AlignedBuffer&) = delete;
    ~AlignedBuffer()
    {
        if (m_data)
            ::VirtualFree(m_data, 0, MEM_RELEASE);
    }
    BYTE* Get() const noexcept { return m_data; }

private:
    BYTE* m_data;
};

// Deletes the scratch file when the run ends, whichever way.
class ScratchFile {
public:
    explicit ScratchFile(std::string path) : m_path(std::move(path)) {}
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    ~ScratchFile()
    {
        std::wstring path = framework::WidePath(m_path);
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
    }
    const std::string& Path() const noexcept { return m_path; }

private:
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

BYTE FillByte()
{
    return static_cast<BYTE>(NextRandom() % 256);
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
    void Read()
    {
        DWORD done = 0;
        if (::ReadFile(m_file, m_buffer, m_transfer, &done, nullptr) && done == m_transfer)
            ++m_count;
    }
    void Write()
    {
        DWORD done = 0;
        if (::WriteFile(m_file, m_buffer, m_transfer, &done, nullptr) && done == m_transfer)
            ++m_count;
    }

private:
    HANDLE m_file;
    BYTE* m_buffer;
    DWORD m_transfer;
    DWORD m_milliseconds;
    DWORD m_blocks;
    DWORD m_start;
    unsigned m_count = 0;
};

void RunLoop(int test, TimedTest& t)
{
    switch (test) {
    case 0:  // same-sector reads
        while (t.Running()) {
            t.Read();
            t.Seek(0);
        }
        break;
    case 1:  // sequential reads
        while (t.Running()) {
            for (DWORD i = 0; i < t.Blocks() && t.Running(); ++i)
                t.Read();
            t.Seek(0);
        }
        break;
    case 2:  // random reads
        while (t.Running()) {
            for (DWORD i = 0; i < t.Blocks() && t.Running(); ++i) {
                t.Seek(t.RandomBlock());
                t.Read();
            }
        }
        break;
    case 3:  // same-sector writes
        while (t.Running()) {
            for (DWORD i = 0; i < t.Blocks() && t.Running(); ++i) {
                t.Seek(0);
                t.Fill();
                t.Write();
            }
        }
        break;
    case 4:  // sequential writes
        while (t.Running()) {
            for (DWORD i = 0; i < t.Blocks() && t.Running(); ++i) {
                t.Fill();
                t.Write();
            }
            t.Seek(0);
        }
        break;
    default:  // random writes, the buffer unchanged
        while (t.Running()) {
            for (DWORD i = 0; i < t.Blocks() && t.Running(); ++i) {
                t.Seek(t.RandomBlock());
                t.Write();
            }
        }
        break;
    }
}

void RunTest(int test, const std::string& path, DWORD transfer, DWORD milliseconds, const SpeedCell& cell)
{
    framework::KernelHandle file(::CreateFileW(
        framework::WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
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

std::string FormatSpeed(unsigned count, unsigned transferBytes, DWORD elapsedMilliseconds)
{
    double kilobytes = count * (transferBytes / 1024.0);
    char text[64];
    std::snprintf(text, sizeof text, "%.2f KB/sec", kilobytes / (elapsedMilliseconds ? elapsedMilliseconds : 1) * 1000);
    return text;
}

bool CreateTestFile(const std::string& root)
{
    framework::KernelHandle file(::CreateFileW(framework::WidePath(root + kScratchFileName).c_str(),
                                               GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                               FILE_ATTRIBUTE_HIDDEN, nullptr));
    if (!file)
        return false;
    BYTE block[kFillBlock];
    for (DWORD i = 0; i < kFileBytes / kFillBlock; ++i) {
        std::memset(block, FillByte(), sizeof block);
        DWORD written = 0;
        if (!::WriteFile(file.get(), block, sizeof block, &written, nullptr) || written != sizeof block)
            return false;
    }
    return true;
}

bool RunDriveTests(const std::string& root, ProgressSink& progress, const SpeedCell& cell, DWORD testMilliseconds)
{
    ScratchFile scratch(root + kScratchFileName);
    progress.StepPhase((root + " - Creating Test File...").c_str());
    if (!CreateTestFile(root))
        return false;
    DWORD transfer = TransferBytes(root);
    for (int test = 0; test < kSpeedTestCount; ++test) {
        if (!progress.StepPhase((root + kProgress[test]).c_str()))
            return false;
        RunTest(test, scratch.Path(), transfer, testMilliseconds, cell);
    }
    return true;
}
