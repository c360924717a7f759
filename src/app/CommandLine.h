// Corvane without its window: "/analyze E:\data /export report.csv" and the
// options that go with it, and "/open report.csv" for the window.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CommandLine {
    std::string analyze;  // the folder or drive to analyse without a window
    std::string exportTo;
    std::string report;  // empty: the whole tree
    std::string skip;
    bool json = false;
    bool keep = false;
    std::string open;   // a saved tree for the window to show
    std::string error;  // a bad option: the line that says so
};

// The arguments after the program's name, as the program's text.
std::vector<std::string> CommandArguments();
// Options start with "/" or "-", in any case.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// What a run without a window ends with.
enum class ExitCode : int {
    Done = 0,
    BadOption = 1,
    NoFolder = 2,
    CannotWrite = 3,
    Stopped = 4,
};

// Analyses and writes as the command line says, with a progress line at most
// once a second and a one-line error on the console that started it (if
// any). Ctrl+C stops it, and nothing is written then.
ExitCode RunWithoutWindow(const CommandLine& line);
