#include "framework/Handle.h"
#include "framework/Path.h"
#include "reports/FolderAnalysis.h"
#include "reports/TreeExport.h"

#include "support/HostPath.h"
#include "support/ScriptedSink.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Finished {
    DWORD exitCode = 0;
    std::string output;  // what it wrote to its console, line breaks as written
};

// The program itself, started as a script starts it, with its error output read back.
Finished RunCorvane(const std::string& arguments)
{
    std::wstring program = framework::WideText(HostPath(CORVANE_PROGRAM));
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    EXPECT_TRUE(::CreatePipe(&read, &write, &inherit, 0));
    framework::KernelHandle reading(read), writing(write);
    ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = write;
    std::wstring line = L"\"" + program + L"\" " + framework::WideText(arguments);
    PROCESS_INFORMATION process{};
    Finished finished;
    if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, L"C:\\", &startup,
                          &process)) {
        ADD_FAILURE() << framework::NarrowText(program.c_str()) << " did not start: " << ::GetLastError();
        return finished;
    }
    framework::KernelHandle child(process.hProcess), thread(process.hThread);
    writing.reset();
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0)
        finished.output.append(buffer, got);
    EXPECT_EQ(::WaitForSingleObject(child.get(), 60000), WAIT_OBJECT_0);
    ::GetExitCodeProcess(child.get(), &finished.exitCode);
    return finished;
}

std::string Contents(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// The rows of a saved tree after its header, path to the rest of the row.
std::map<std::string, std::string> Rows(const std::string& csv)
{
    std::map<std::string, std::string> rows;
    size_t at = csv.find("\r\n") + 2;
    while (at < csv.size()) {
        size_t end = csv.find("\r\n", at);
        std::string line = csv.substr(at, end - at);
        size_t comma = line.find(",file,") != std::string::npos ? line.find(",file,") : line.find(",folder,");
        rows[line.substr(0, comma)] = line.substr(comma + 1);
        at = end + 2;
    }
    return rows;
}

}  // namespace

TEST(CommandLine, AnalyzeWritesEveryFolderAndFileOfTheTree)
{
    TempFolder temp;
    std::string deep(120, 'd');
    temp.MakeFile("tree\\" + deep + "\\" + deep + "\\" + deep + "\\long.bin", 300, true);
    temp.MakeFile("tree\\Ünïcødé\\日本.txt", 5, true);
    temp.MakeFile("tree\\top.txt", 7, true);
    std::string out = temp.Path() + "out.csv";
    Finished run = RunCorvane("/ANALYZE \"" + temp.Path() + "tree\" -export \"" + out + "\"");
    EXPECT_EQ(run.exitCode, 0u) << run.output;

    std::string csv = Contents(out);
    ASSERT_EQ(csv.rfind("\xEF\xBB\xBFPath,Type,Size,On disk,Files,Last change,Attributes\r\n", 0), 0u);
    std::map<std::string, std::string> rows = Rows(csv);
    std::string tree = temp.Path() + "tree";
    std::string longPath = tree + "\\" + deep + "\\" + deep + "\\" + deep + "\\long.bin";
    EXPECT_EQ(rows.size(), 8u);
    ASSERT_TRUE(rows.count(longPath));
    EXPECT_EQ(rows[longPath].substr(0, 9), "file,300,");
    EXPECT_EQ(rows[tree + "\\Ünïcødé\\日本.txt"].substr(0, 7), "file,5,");
    EXPECT_EQ(rows[tree].substr(0, 11), "folder,312,");
    // The target closes the file.
    EXPECT_NE(csv.rfind("\r\n" + tree + ",folder,"), std::string::npos);

    // A report instead of the tree: the analysis's own list.
    Finished report = RunCorvane("/analyze \"" + tree + "\" /export \"" + out + "\" /report \"Largest files\"");
    EXPECT_EQ(report.exitCode, 0u) << report.output;
    FolderAnalysis analysis;
    ScriptedSink sink;
    analysis.Start(tree, sink);
    std::map<std::string, std::string> listed = Rows(Contents(out));
    EXPECT_EQ(listed.size(), analysis.Report(ReportId::LargestFiles).size());
    for (const ReportEntry& entry : analysis.Report(ReportId::LargestFiles))
        EXPECT_EQ(listed[entry.path].substr(0, 5 + std::to_string(entry.size).size()),
                  "file," + std::to_string(entry.size))
            << entry.path;

    // The file types: a row per extension, with no extension last here.
    Finished types = RunCorvane("/analyze \"" + tree + "\" /export \"" + out + "\" /report TYPES");
    EXPECT_EQ(types.exitCode, 0u) << types.output;
    std::string typeRows = Contents(out);
    ASSERT_EQ(typeRows.rfind("\xEF\xBB\xBF"
                             "Extension,Class,Size,On disk,Files\r\n",
                             0),
              0u);
    // Extension to size and files.
    std::map<std::string, std::pair<std::string, std::string>> byType;
    std::istringstream lines(typeRows.substr(typeRows.find('\n') + 1));
    for (std::string row; std::getline(lines, row);) {
        std::vector<std::string> fields;
        std::istringstream cells(row.substr(0, row.find('\r')));
        for (std::string cell; std::getline(cells, cell, ',');)
            fields.push_back(cell);
        ASSERT_EQ(fields.size(), 5u) << row;
        byType[fields[0]] = {fields[2], fields[4]};
    }
    using Totals = std::pair<std::string, std::string>;
    EXPECT_EQ(byType, (std::map<std::string, Totals>{{".bin", {"300", "1"}}, {".txt", {"12", "2"}}})) << typeRows;
}

TEST(CommandLine, BadInputEndsWithItsCodeAndOneLine)
{
    TempFolder temp;
    temp.MakeFile("a.txt", 1);
    std::string out = temp.Path() + "out.csv";
    // Without its last backslash, which would quote the quote after it.
    std::string folder = temp.Path().substr(0, temp.Path().size() - 1);
    struct Case {
        std::string arguments;
        DWORD code;
        std::string line;
    };
    for (const Case& bad : std::vector<Case>{
             {"/analyze \"" + temp.Path() + "none\" /export \"" + out + "\"", 2,
              "No such folder: " + temp.Path() + "none"},
             {"/analyze \"" + folder + "\" /export \"" + temp.Path() + "no\\such\\out.csv\"", 3,
              "Cannot write " + temp.Path() + "no\\such\\out.csv: "},
             {"/analyse x", 1, "Unknown option: /analyse"},
             {"/analyze \"" + folder + "\"", 1, "Give both /analyze FOLDER and /export FILE."},
             {"/analyze \"" + folder + "\" /export \"" + out + "\" /report sizes", 1, "Unknown report: sizes"},
             {"/analyze \"" + folder + "\" /export \"" + out + "\" /skip \"a\\*.git\"", 1,
              "Cannot skip these folders. "},
         }) {
        Finished run = RunCorvane(bad.arguments);
        EXPECT_EQ(run.exitCode, bad.code) << bad.arguments;
        EXPECT_EQ(run.output.rfind(bad.line, 0), 0u) << run.output;
        EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
    }
    EXPECT_EQ(::GetFileAttributesA(out.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(CommandLine, ASavedTreeLoadsBackAndADamagedOneIsRefused)
{
    TempFolder temp;
    temp.MakeFile("tree\\a\\one.bin", 1000, true);
    temp.MakeFile("tree\\a\\b\\two.bin", 20, true);
    temp.MakeFile("tree\\three.zip", 300, true);
    temp.MakeFolder("tree\\empty");
    std::string out = temp.Path() + "out.csv";
    ASSERT_EQ(RunCorvane("/analyze \"" + temp.Path() + "tree\" /export \"" + out + "\"").exitCode, 0u);

    FolderAnalysis walked, loaded;
    ScriptedSink sink;
    walked.Start(temp.Path() + "tree", sink);
    std::string error;
    ASSERT_TRUE(LoadTree(out, loaded, error)) << error;
    EXPECT_EQ(loaded.Target(), walked.Target());
    EXPECT_TRUE(loaded.Completed());
    for (ReportId report : {ReportId::LargestFiles, ReportId::ZipFiles, ReportId::LargestFolders}) {
        ASSERT_EQ(loaded.Report(report).size(), walked.Report(report).size());
        for (size_t i = 0; i < walked.Report(report).size(); ++i) {
            EXPECT_EQ(loaded.Report(report)[i].path, walked.Report(report)[i].path);
            EXPECT_EQ(loaded.Report(report)[i].size, walked.Report(report)[i].size);
            EXPECT_EQ(loaded.Report(report)[i].dateText, walked.Report(report)[i].dateText);
        }
    }
    EXPECT_EQ(loaded.Tree().Count(), walked.Tree().Count());
    EXPECT_EQ(loaded.Found().onDisk, walked.Found().onDisk);

    std::string csv = Contents(out);
    std::string edited = csv;
    edited.replace(edited.find(",1000,"), 6, ",1001,");
    for (const std::string& damaged : {csv.substr(0, csv.size() - 30), edited, std::string("a,b\r\n")}) {
        std::ofstream(out, std::ios::binary | std::ios::trunc) << damaged;
        FolderAnalysis refused;
        EXPECT_FALSE(LoadTree(out, refused, error));
        EXPECT_FALSE(error.empty());
    }
}
