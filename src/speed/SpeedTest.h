// Six timed kinds of disk traffic on a one-megabyte scratch file at a drive's root.
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

// Writes the hidden scratch file at root (which ends in a backslash).
bool CreateTestFile(const std::string& root);

// Runs the six tests for testMilliseconds each. False when the user stopped
// the run or the scratch file could not be made. The scratch file is gone
// afterwards however the run ended.
bool RunDriveTests(const std::string& root, ProgressSink& progress, const SpeedCell& cell,
                   DWORD testMilliseconds = kSpeedTestMilliseconds);
