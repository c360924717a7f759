// Six timed kinds of disk traffic on a one-megabyte scratch file on a drive.
#pragma once

#include "working/ProgressSink.h"

#include <windows.h>

#include <functional>
#include <string>

constexpr int kSpeedTestCount = 6;
// The tests in their row order: three reads, then three writes.
extern const char* const kSpeedTestCaptions[kSpeedTestCount];

constexpr DWORD kSpeedTestMilliseconds = 5000;
constexpr const char* kScratchFileName = "~vrmttest.tmp";
// The names the scratch file may take in a folder, in the order tried: the
// usual one, then numbered ones for when a name is taken.
constexpr int kScratchNameCount = 16;
std::string ScratchFileName(int attempt);

// The C runtime's generator with a state of its own, starting at 1.
class RuntimeRandom {
public:
    int Next() noexcept;

private:
    unsigned m_state = 1;
};

// The tests' generator: one for the process, never reseeded.
int NextRandom();

// "%.2f KB/sec" for count transfers of the given size in the elapsed time.
std::string FormatSpeed(unsigned count, unsigned transferBytes, DWORD elapsedMilliseconds);

// Writes the result text of a test (by row) into the caller's grid.
using SpeedCell = std::function<void(int row, const std::string& text)>;

enum class DriveRun { Tested, Stopped, NotWritable };
// The text of a drive's column when no scratch file could be made on it.
constexpr const char* kNoWriteAccess = "Not tested: no write access";

// Runs the six tests for testMilliseconds each. The scratch file goes in the
// root, else in the user's temporary folder when that lies on the drive, else
// in a hidden folder of our own in the root: a standard user may create
// folders in a system drive's root but not files. The scratch file is made
// under a free name only, never through a link; it, and that folder when
// this run made it, are gone afterwards however the run ended.
DriveRun RunDriveTests(const std::string& root, ProgressSink& progress, const SpeedCell& cell,
                       DWORD testMilliseconds = kSpeedTestMilliseconds);
