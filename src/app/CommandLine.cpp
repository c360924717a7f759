#include "app/CommandLine.h"

#include "framework/Path.h"
#include "framework/SkipList.h"
#include "framework/Text.h"
#include "framework/Win32.h"
#include "lists/FileText.h"
#include "lists/ListExport.h"
#include "reports/DuplicateSearch.h"
#include "reports/KeptAnalysis.h"
#include "reports/MftAnalysis.h"
#include "reports/ReportsPages.h"
#include "reports/TreeExport.h"

#include <shellapi.h>

#include <atomic>
#include <cstring>

namespace {

// Set by the console's Ctrl+C or close; the walk asks at every step.
std::atomic<bool> g_stopAsked{false};

BOOL WINAPI OnConsoleControl(DWORD)
{
    g_stopAsked = true;
    return TRUE;
}

// The console that started the program, or the handle it was given; nothing
// is written when there is neither.
class Console {
public:
    Console()
    {
        m_out = ::GetStdHandle(STD_ERROR_HANDLE);
        if (m_out == nullptr || m_out == INVALID_HANDLE_VALUE) {
            m_out = nullptr;
            if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
                m_console.reset(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
                m_out = m_console.get();
            }
        }
        ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    }

    void Line(const std::string& text) const
    {
        if (!m_out)
            return;
        DWORD mode = 0, written = 0;
        std::string line = text + "\r\n";
        if (::GetConsoleMode(m_out, &mode)) {
            std::wstring wide = framework::WideText(line);
            ::WriteConsoleW(m_out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        } else {
            line = framework::Utf8Text(line);
            ::WriteFile(m_out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        }
    }

private:
    HANDLE m_out = nullptr;
    framework::KernelHandle m_console;
};

// Progress at most once a second; a stop once Ctrl+C was pressed.
class ConsoleProgress : public ProgressSink {
public:
    explicit ConsoleProgress(const Console& console) : m_console(console), m_last(::GetTickCount()) {}

    bool Step(const char* text) override
    {
        if (text && WantsText()) {
            m_console.Line(text);
            m_last = ::GetTickCount();
        }
        return !g_stopAsked;
    }
    bool WantsText() const override { return ::GetTickCount() - m_last >= 1000; }

private:
    const Console& m_console;
    DWORD m_last;
};

bool IsOption(const std::string& argument, const char* name)
{
    if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-'))
        return false;
    std::string_view given = std::string_view(argument).substr(1);
    return given.size() == std::strlen(name) && std::equal(given.begin(), given.end(), name, [](char a, char b) {
               return framework::LowerAscii(a) == framework::LowerAscii(b);
           });
}

bool SameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return framework::LowerAscii(x) == framework::LowerAscii(y);
           });
}

// The report a name stands for: a Report entry's caption, or a short name.
std::optional<ReportId> ReportNamed(const std::string& name)
{
    if (SameText(name, "folders"))
        return ReportId::LargestFolders;
    for (const ReportRow& row : kReports) {
        if (SameText(name, row.caption))
            return row.id;
    }
    return std::nullopt;
}

void WriteDuplicates(TreeWriter& writer, const FolderAnalysis& analysis, ProgressSink& progress)
{
    DuplicateResult result = FindDuplicates(analysis.Tree(), progress);
    std::vector<ReportEntry> rows;
    for (const DuplicateGroup& group : result.groups) {
        for (const DuplicateFile& file : group.files) {
            FILETIME written = framework::FileTimeFromTicks(file.lastWrite);
            rows.push_back({analysis.Tree().Path(file.node), group.size, FormatFileDate(written), 0, 1});
        }
    }
    writer.WriteReport(rows, false);
}

// The report's rows, or false for a name that is none.
bool WriteReport(TreeWriter& writer, const CommandLine& line, const FolderAnalysis& analysis, ProgressSink& progress)
{
    if (SameText(line.report, "duplicates")) {
        WriteDuplicates(writer, analysis, progress);
        return true;
    }
    std::optional<ReportId> report = ReportNamed(line.report);
    if (!report)
        return false;
    if (*report == ReportId::GrownFolders) {
        std::optional<KeptAnalysis> kept = AnalysisKeeper(AnalysisKeeper::DefaultFolder()).Load(analysis.Target());
        bool comparable = kept && kept->skipText == analysis.SkipText();
        writer.WriteReport(comparable ? GrownFolders(*kept, analysis.Folders()) : std::vector<ReportEntry>{}, true);
    } else {
        writer.WriteReport(analysis.Report(*report), *report == ReportId::LargestFolders);
    }
    return true;
}

}  // namespace

std::vector<std::string> CommandArguments()
{
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> texts;
    for (int i = 1; arguments && i < count; ++i)
        texts.push_back(framework::NarrowText(arguments[i]));
    ::LocalFree(arguments);
    return texts;
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine line;
    struct Valued {
        const char* name;
        std::string* value;
    };
    const Valued valued[] = {{"analyze", &line.analyze},
                             {"export", &line.exportTo},
                             {"report", &line.report},
                             {"skip", &line.skip},
                             {"open", &line.open}};
    for (size_t i = 0; i < arguments.size() && line.error.empty(); ++i) {
        const std::string& argument = arguments[i];
        const Valued* option = std::find_if(std::begin(valued), std::end(valued),
                                            [&](const Valued& v) { return IsOption(argument, v.name); });
        if (option != std::end(valued)) {
            if (i + 1 == arguments.size())
                line.error = argument + " needs a value.";
            else
                *option->value = arguments[++i];
        } else if (IsOption(argument, "json")) {
            line.json = true;
        } else if (IsOption(argument, "keep")) {
            line.keep = true;
        } else {
            line.error = "Unknown option: " + argument;
        }
    }
    bool headless = !line.analyze.empty() || !line.exportTo.empty() || !line.report.empty() || !line.skip.empty() ||
                    line.json || line.keep;
    if (line.error.empty() && headless && !line.open.empty())
        line.error = "/open starts the window: it takes no other option.";
    else if (line.error.empty() && headless && (line.analyze.empty() || line.exportTo.empty()))
        line.error = "Give both /analyze FOLDER and /export FILE.";
    return line;
}

ExitCode RunWithoutWindow(const CommandLine& line)
{
    Console console;
    if (!line.error.empty()) {
        console.Line(line.error);
        return ExitCode::BadOption;
    }
    framework::SkipList skip = framework::SkipList::Parse(line.skip);
    if (!skip.Error().empty()) {
        console.Line("Cannot skip these folders. " + skip.Error());
        return ExitCode::BadOption;
    }
    const bool types = SameText(line.report, "types");
    if (!line.report.empty() && !ReportNamed(line.report) && !SameText(line.report, "duplicates") && !types) {
        console.Line("Unknown report: " + line.report);
        return ExitCode::BadOption;
    }
    DWORD attributes = framework::GetPathAttributes(line.analyze);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        console.Line("No such folder: " + line.analyze);
        return ExitCode::NoFolder;
    }
    ExportFile file(line.exportTo);
    const TreeFormat format = line.json ? TreeFormat::Json : TreeFormat::Csv;
    TreeWriter writer(file, format);
    ConsoleProgress progress(console);
    FolderAnalysis analysis;
    if (line.report.empty())
        analysis.SetListener(&writer);
    FILETIME started{};
    ::GetSystemTimeAsFileTime(&started);
    Analyse(analysis, line.analyze, progress, skip);
    if (!analysis.Completed()) {
        console.Line("Stopped: nothing was written.");
        return ExitCode::Stopped;
    }
    if (types) {
        WriteFileTypes(file, format, CountFileTypes(analysis.Tree()));
    } else {
        if (!line.report.empty())
            WriteReport(writer, line, analysis, progress);
        writer.Finish();
    }
    if (g_stopAsked) {
        console.Line("Stopped: nothing was written.");
        return ExitCode::Stopped;
    }
    if (DWORD error = file.Commit(); error != ERROR_SUCCESS) {
        console.Line("Cannot write " + line.exportTo + ": " + framework::SystemMessage(error));
        return ExitCode::CannotWrite;
    }
    if (line.keep)
        AnalysisKeeper(AnalysisKeeper::DefaultFolder())
            .Keep(analysis.Target(), framework::FileTimeTicks(started), analysis.Folders(), analysis.SkipText());
    console.Line(FoundText(analysis));
    return ExitCode::Done;
}
