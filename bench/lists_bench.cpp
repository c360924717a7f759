// Times what the user waits for on the result pages of the real program, each
// against a bare walk of the same tree: the analysis with Largest files on
// show, the folder tree shown, opened whole and sorted, the file types shown
// and one of them lit on their map at 1024 x 768, the space map laid out
// and drawn at 1024 x 768, switching to a report of 50,000 files, sorting it,
// and a search that lists every file. Also the peak working set after the
// analysis, with the whole tree open, with the map and with that report on show.
#include "BenchTree.h"
#include "app/CorvaneApp.h"
#include "app/Tabs.h"
#include "framework/Win32.h"
#include "pages/ListPage.h"
#include "framework/Path.h"
#include "pages/TabView.h"
#include "reports/KeptAnalysis.h"
#include "reports/ReportsPages.h"
#include "reports/SpaceMap.h"
#include "resources/resource.h"
#include "support/UserActions.h"

#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <functional>
#include <string>

namespace {

constexpr int kFolders = 2000;
constexpr int kFilesPerFolder = 50;
static_assert(kFolders * kFilesPerFolder == bench::kTreeFiles);

// Half the files have numeric extensions; a fifth share one size (none) and
// one day (the newest), so the ranked reports meet many equals.
bool BuildListsTree(const std::string& root)
{
    ::CreateDirectoryA(root.c_str(), nullptr);
    for (int folderIndex = 0; folderIndex < kFolders; ++folderIndex) {
        std::string folder = root + "\\part " + std::to_string(folderIndex / 100);
        ::CreateDirectoryA(folder.c_str(), nullptr);
        folder += "\\folder " + std::to_string(folderIndex % 100);
        ::CreateDirectoryA(folder.c_str(), nullptr);
        for (int i = 0; i < kFilesPerFolder; ++i) {
            std::uint64_t r = bench::Mix(static_cast<std::uint64_t>(folderIndex * kFilesPerFolder + i));
            std::string name;
            std::uint64_t size = (r >> 8) % (std::uint64_t{1} << (r % 24));
            std::int64_t seconds = 946684800 + static_cast<std::int64_t>((r >> 16) % (25 * 365 * 86400ULL));
            if (i % 2 == 0) {
                name = "volume " + std::to_string(i) + "." + std::to_string(100 + i);
            } else if (i % 10 < 5) {
                name = "same " + std::to_string(i) + ".log";
                size = 0;
                seconds = 1767225600;
            } else {
                name = "document " + std::to_string(i) + ".txt";
            }
            HANDLE file = ::CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE)
                return false;
            LARGE_INTEGER end{};
            end.QuadPart = static_cast<LONGLONG>(size);
            FILETIME time = framework::FileTimeFromTicks(
                static_cast<std::uint64_t>(framework::kTicksFrom1601To1970 + seconds * framework::kTicksPerSecond));
            ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
            ::SetEndOfFile(file);
            ::SetFileTime(file, nullptr, nullptr, &time);
            ::CloseHandle(file);
        }
    }
    return true;
}

void PumpPending()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void PumpUntil(const std::function<bool()>& condition)
{
    DWORD start = ::GetTickCount();
    while (!condition() && ::GetTickCount() - start < 600000) {
        PumpPending();
        ::Sleep(0);
    }
    PumpPending();
}

class Program {
public:
    Program()
    {
        SettingsStore settings(CCorvaneApp::kCompanyKey, CCorvaneApp::kAppName);
        settings.WriteProfileInt("Settings", "ShowSplashScreen", 0);
        settings.WriteProfileInt("Settings", "SkipReportsPage1", 1);
        settings.WriteProfileInt("Settings", "SkipSearchPage0", 1);
        m_started = m_app.InitInstance();
        PumpPending();
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program()
    {
        if (m_app.GetMainFrame())
            ::DestroyWindow(m_app.GetMainFrame()->GetSafeHwnd());
        PumpPending();
    }

    bool Started() const { return m_started; }
    CTabView& View() { return *static_cast<CTabView*>(m_app.GetMainFrame()->GetActiveView()); }
    HWND Page(int tab, int page) { return View().GetPage(tab, page)->GetSafeHwnd(); }
    ListPage& Results(int tab) { return *static_cast<ListPage*>(View().GetPage(tab, 2)); }

    void ShowTab(int tab)
    {
        ClickTab(View().GetTabControl(), tab);
        PumpPending();
    }
    // Presses a page button and waits until the page it leads to has done its work and drawn its list.
    void PressAndWait(int tab, int fromPage, int button)
    {
        ::SendDlgItemMessageA(Page(tab, fromPage), button, BM_CLICK, 0, 0);
        PumpUntil([&] { return View().GetCurrentPage() == View().GetPage(tab, 2); });
        ::UpdateWindow(Results(tab).Results().GetSafeHwnd());
    }
    void Analyse(const std::string& folder)
    {
        ShowTab(kReportsTab);
        HWND target = Page(kReportsTab, 1);
        ::SetDlgItemTextA(target, IDC_FOLDER, folder.c_str());
        ::CheckRadioButton(target, IDC_DRIVE_RADIO, IDC_FOLDER_RADIO, IDC_FOLDER_RADIO);
        PressAndWait(kReportsTab, 1, IDC_NEXT);
    }
    void ChooseReport(ReportId report) { ChooseEntry(static_cast<int>(report)); }
    // An entry of the Report list: a report's, or the folder tree's, the file types', the map's after them.
    void ChooseEntry(int index)
    {
        HWND page = Page(kReportsTab, 2);
        HWND reports = ::GetDlgItem(page, IDC_REPORT_LIST);
        ::SendMessageA(reports, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_REPORT_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(reports));
        ::UpdateWindow(Results(kReportsTab).Results().GetSafeHwnd());
    }
    // The map in place of the list, at 1024 x 768 pixels, drawn.
    void ShowMap()
    {
        CSpaceMapView& map = ReportsResults().SpaceMapView();
        ::SetWindowPos(map.GetSafeHwnd(), nullptr, 0, 0, 1024, 768, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ChooseEntry(kReportCount + 2);
        ::UpdateWindow(map.GetSafeHwnd());
    }
    // The file types listed and drawn; their map paints when the queue is idle.
    void ShowTypes()
    {
        ChooseEntry(kReportCount + 1);
        ::UpdateWindow(Results(kReportsTab).Results().GetSafeHwnd());
    }
    // One type chosen alone, its tiles lit on a map of 1024 x 768 (and its legend), drawn.
    size_t LightType(int row)
    {
        CSpaceMapView& map = ReportsResults().FileTypesMap();
        HWND list = Results(kReportsTab).Results().GetSafeHwnd();
        ::SetWindowPos(map.GetSafeHwnd(), nullptr, 0, 0, 1024, 788, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        framework::SelectListRow(list, -1, false);
        framework::SelectListRow(list, row);
        ::UpdateWindow(map.GetSafeHwnd());
        size_t lit = 0;
        for (const MapTile& tile : map.Map().Tiles())
            lit += tile.lit ? 1 : 0;
        return lit;
    }
    ReportsResultsPage& ReportsResults() { return static_cast<ReportsResultsPage&>(Results(kReportsTab)); }
    CFolderTreeList& Tree() { return ReportsResults().FolderTree().TreeList(); }
    // The folder tree drawn; its map paints when the queue is idle, after it.
    void ShowTree()
    {
        ChooseEntry(kReportCount);
        ::UpdateWindow(Tree().List());
    }
    void DrawTreeMap() { ::UpdateWindow(ReportsResults().FolderTree().Map().GetSafeHwnd()); }
    // * on the target's row.
    void OpenWholeTree()
    {
        Tree().SelectNode(Tree().Rows().Tree()->Root());
        ::SendMessageA(Tree().List(), WM_KEYDOWN, VK_MULTIPLY, 0);
        ::UpdateWindow(Tree().List());
    }
    // A click on the tree's column header.
    void SortTree(TreeColumn column)
    {
        HWND list = Tree().List();
        NMLISTVIEW click{};
        click.hdr = {list, 0, LVN_COLUMNCLICK};
        click.iItem = -1;
        click.iSubItem = static_cast<int>(column);
        ::SendMessageA(Tree().GetSafeHwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
        ::UpdateWindow(list);
    }
    size_t MapTiles() { return ReportsResults().SpaceMapView().Map().Tiles().size(); }
    void SortReport(int column)
    {
        HWND list = Results(kReportsTab).Results().GetSafeHwnd();
        NMLISTVIEW click{};
        click.hdr = {list, static_cast<UINT_PTR>(::GetDlgCtrlID(list)), LVN_COLUMNCLICK};
        click.iItem = -1;
        click.iSubItem = column;
        ::SendMessageA(Page(kReportsTab, 2), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
        ::UpdateWindow(list);
    }
    void SearchAll(const std::string& folder)
    {
        ShowTab(kSearchTab);
        if (View().GetCurrentPage() != View().GetPage(kSearchTab, 1))
            ::SendDlgItemMessageA(Page(kSearchTab, 2), IDC_START_OVER, BM_CLICK, 0, 0);
        PumpUntil([&] { return View().GetCurrentPage() == View().GetPage(kSearchTab, 1); });
        HWND criteria = Page(kSearchTab, 1);
        ::SetDlgItemTextA(criteria, IDC_SEARCH_FOLDER, folder.c_str());
        ::SetDlgItemTextA(criteria, IDC_SEARCH_NAME, "*.*");
        ::SetDlgItemTextA(criteria, IDC_SEARCH_WORDS, "");
        PressAndWait(kSearchTab, 1, IDC_SEARCH);
    }
    size_t Rows(int tab) { return Results(tab).Rows().Count(); }

private:
    CCorvaneApp m_app;
    bool m_started = false;
};

double PeakMegabytes()
{
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof memory);
    return static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

}  // namespace

// With a folder as its argument, times that folder's tree instead of its own.
int main(int argc, char** argv)
{
    const bool ownTree = argc < 2;
    const std::string tree = ownTree ? bench::TempPath("corvane-bench-lists") : argv[1];
    if (ownTree && !bench::ReuseOrBuild(tree, "tree", bench::kTreeFiles, BuildListsTree))
        return 1;

    int walked = 0;
    size_t largest = 0, numeric = 0, searched = 0, tiles = 0, treeRows = 0, types = 0, lit = 0;
    int lighting = 0;
    double peak = 0, peakWithMap = 0, peakAnalysis = 0, peakWholeTree = 0;
    std::vector<double> best;
    {
        Program program;
        if (!program.Started())
            return 1;
        auto bareWalk = [&] { walked = bench::CountFiles(tree); };
        auto analysis = [&] {
            program.Analyse(tree);
            largest = program.Rows(kReportsTab);
            if (peakAnalysis == 0)
                peakAnalysis = PeakMegabytes();
        };
        auto showTree = [&] { program.ShowTree(); };
        auto drawTreeMap = [&] { program.DrawTreeMap(); };
        auto openTree = [&] {
            program.OpenWholeTree();
            treeRows = program.Tree().Rows().Count();
            if (peakWholeTree == 0)
                peakWholeTree = PeakMegabytes();
        };
        auto sortTreeBySize = [&] { program.SortTree(TreeColumn::Size); };
        auto sortTreeByName = [&] { program.SortTree(TreeColumn::Name); };
        auto showTypes = [&] {
            program.ShowTypes();
            types = program.Rows(kReportsTab);
        };
        // Another type each time, so that each run lights the map anew.
        auto lightType = [&] { lit = program.LightType(1 + lighting++ % 2); };
        // Right after an analysis, so that each run lays the map out anew.
        auto showMap = [&] {
            program.ShowMap();
            tiles = program.MapTiles();
            if (peakWithMap == 0)
                peakWithMap = PeakMegabytes();
        };
        auto showNumeric = [&] {
            program.ChooseReport(ReportId::NumericExtensions);
            numeric = program.Rows(kReportsTab);
            // Before the first search lists its 100,000 rows.
            if (peak == 0)
                peak = PeakMegabytes();
        };
        auto bySize = [&] { program.SortReport(2); };
        auto byFolder = [&] { program.SortReport(1); };
        auto showLargest = [&] { program.ChooseReport(ReportId::LargestFiles); };
        auto showFolders = [&] { program.ChooseReport(ReportId::LargestFolders); };
        auto search = [&] {
            program.SearchAll(tree);
            searched = program.Rows(kSearchTab);
        };
        bareWalk();
        best = bench::BestTimes({bareWalk, analysis, showTree, drawTreeMap, openTree, sortTreeBySize, sortTreeByName,
                                 showTypes, lightType, showMap, showNumeric, bySize, byFolder, showLargest, showFolders,
                                 search});
    }
    // The program kept its analysis of the tree where the tests expect none.
    const std::string kept = AnalysisKeeper::DefaultFolder();
    ::DeleteFileW(framework::WidePath(AnalysisKeeper(kept).FileFor(framework::AbsoluteFolder(tree))).c_str());
    ::RemoveDirectoryW(framework::WidePath(kept).c_str());
    const double bare = best[0];
    const char* labels[] = {"bare walk",
                            "analysis with Largest files drawn",
                            "showing the folder tree",
                            "drawing the map below it",
                            "opening everything below the target",
                            "sorting the tree by Size",
                            "sorting the tree by Name",
                            "showing File types",
                            "lighting one type on its map at 1024 x 768",
                            "showing the space map at 1024 x 768",
                            "showing the numeric-extensions report",
                            "sorting it by Size",
                            "sorting it by Folder",
                            "back to Largest files",
                            "showing Largest folders",
                            "search for *.* with every match listed"};
    for (size_t i = 0; i < best.size(); ++i)
        std::printf("%s: %.3f s (%.3f of the bare walk)\n", labels[i], best[i], best[i] / bare);
    std::printf("files: walk %d, Largest files %zu rows, numeric report %zu rows, search %zu rows\n", walked, largest,
                numeric, searched);
    std::printf("space map: %zu tiles drawn; folder tree opened whole: %zu rows; %zu file types, the last lit "
                "type's tiles %zu\n",
                tiles, treeRows, types, lit);
    std::printf("peak working set after the analysis: %.1f MB, with the whole tree open: %.1f MB (%.1f%% more)\n",
                peakAnalysis, peakWholeTree, 100.0 * (peakWholeTree / peakAnalysis - 1));
    std::printf("peak working set with the space map shown: %.1f MB, with the numeric report: %.1f MB\n", peakWithMap,
                peak);
    std::printf("targets: showing <= 0.05, the space map <= 0.2, each sort <= 0.1, analysis with Largest files <= "
                "1.25, search <= 1.3 of the bare walk; peak < 96 MB; the folder tree shown <= 0.02, opened whole and "
                "each of its sorts <= 0.1, its peak at most 10%% above the analysis's; File types shown and one type "
                "lit <= 0.05\n");
    // The whole tree is every file and folder below the target, and the target.
    bool agree = treeRows > static_cast<size_t>(walked) &&
                 (!ownTree || (searched == static_cast<size_t>(walked) && numeric == static_cast<size_t>(walked) / 2));
    if (!agree)
        std::printf("the row counts disagree with the tree\n");
    return agree ? 0 : 1;
}
