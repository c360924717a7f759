#include "reports/ReportsPages.h"

#include "app/Tabs.h"

#include "framework/Clock.h"
#include "framework/Path.h"
#include "framework/Seams.h"
#include "framework/Text.h"
#include "framework/Win32.h"
#include "lists/FileText.h"
#include "lists/PrintList.h"
#include "reports/FileTypes.h"
#include "reports/KeptAnalysis.h"
#include "reports/TreeExport.h"
#include "resources/resource.h"

#include "support/Messages.h"
#include "support/Override.h"
#include "support/Program.h"
#include "support/ScriptedSink.h"
#include "support/TempFolder.h"
#include "support/TestList.h"
#include "support/UserActions.h"

#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

namespace {

// The pictures a print stretches onto its pages, read back from metafiles.
class RecordingTarget : public PrintTarget {
public:
    HDC StartPage() override { return m_dc = ::CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr); }
    void EndPage() override
    {
        HENHMETAFILE page = ::CloseEnhMetaFile(m_dc);
        ::EnumEnhMetaFile(
            nullptr, page,
            [](HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM found) {
                if (record->iType == EMR_STRETCHDIBITS) {
                    const auto& stretch = *reinterpret_cast<const EMRSTRETCHDIBITS*>(record);
                    reinterpret_cast<std::vector<SIZE>*>(found)->push_back({stretch.cxDest, stretch.cyDest});
                }
                return 1;
            },
            &pictures, nullptr);
        ::DeleteEnhMetaFile(page);
    }
    std::vector<SIZE> pictures;

private:
    HDC m_dc = nullptr;
};

class ReportsPagesTest : public ProgramTest {
protected:
    void Open()
    {
        m_store.WriteProfileInt("Settings", "SkipReportsPage1", 1);
        StartOn(kReportsTab, 1);
    }

    HWND Target() { return Page(kReportsTab, 1); }
    ReportsResultsPage& Results() { return *static_cast<ReportsResultsPage*>(View().GetPage(kReportsTab, 2)); }
    HWND List() { return Results().Results().GetSafeHwnd(); }
    bool Enabled(int id) { return ::IsWindowEnabled(::GetDlgItem(Results().GetSafeHwnd(), id)) != FALSE; }
    void ChooseReport(ReportId report) { ChooseEntry(static_cast<int>(report)); }
    // An entry of the Report list: a report's, or after them the folder tree's, the file types', the map's.
    void ChooseEntry(int index)
    {
        HWND reports = ::GetDlgItem(Results().GetSafeHwnd(), IDC_REPORT_LIST);
        ::SendMessageA(reports, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageA(Results().GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_REPORT_LIST, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(reports));
    }
    // Next on the target page with a folder; the analysis runs on activation.
    void AnalyseFolder(const std::string& folder)
    {
        ::SetDlgItemTextA(Target(), IDC_FOLDER, folder.c_str());
        ::CheckRadioButton(Target(), IDC_DRIVE_RADIO, IDC_FOLDER_RADIO, IDC_FOLDER_RADIO);
        Press(Target(), IDC_NEXT);
        ASSERT_TRUE(PumpUntil([&] { return View().GetCurrentPage() == &Results(); }));
        PumpPending();
    }

    // big.bin, docs\a.txt, docs\b.txt and small.ini, from the largest, with what else the folder holds.
    void AnalyseFourFiles(TempFolder& temp)
    {
        temp.MakeFile("big.bin", 900000);
        temp.MakeFile("docs\\a.txt", 300000);
        temp.MakeFile("docs\\b.txt", 200000);
        temp.MakeFile("small.ini", 100000);
        Open();
        AnalyseFolder(temp.Path());
    }

    // The map, shown; its nodes by their paths.
    CSpaceMapView& ShowMap()
    {
        ChooseEntry(kReportCount + 2);
        CSpaceMapView& map = Results().SpaceMapView();
        ::UpdateWindow(map.GetSafeHwnd());
        return map;
    }
    std::uint32_t Node(const std::string& path) { return Results().SpaceMapView().Tree()->Find(path); }
    // The mouse at the middle of what the map draws for the node.
    LPARAM At(std::uint32_t node)
    {
        RECT rect = Results().SpaceMapView().Map().RectOf(node);
        EXPECT_FALSE(::IsRectEmpty(&rect));
        return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    void Mouse(UINT message, std::uint32_t node)
    {
        ::SendMessageA(Results().SpaceMapView().GetSafeHwnd(), message, 0, At(node));
    }

    // The folder tree, shown; the names of its rows, top to bottom.
    CFolderTreeList& ShowTree()
    {
        ChooseEntry(kReportCount);
        return Results().FolderTree().TreeList();
    }
    std::vector<std::string> TreeNames()
    {
        const FolderTreeRows& rows = Results().FolderTree().TreeList().Rows();
        std::vector<std::string> names;
        for (size_t row = 0; row < rows.Count(); ++row)
            names.push_back(rows.Text(row, TreeColumn::Name));
        return names;
    }
    void Key(WORD key) { ::SendMessageA(Results().FolderTree().TreeList().List(), WM_KEYDOWN, key, 0); }
    std::string FocusedName()
    {
        CFolderTreeList& tree = Results().FolderTree().TreeList();
        return tree.Focused() == FolderTreeRows::kNoRow ? "" : tree.Rows().Text(tree.Focused(), TreeColumn::Name);
    }

    // What the analyses keep goes with the test.
    TempFolder m_kept{AnalysisKeeper::DefaultFolder() + "\\"};
};

}  // namespace

// The first focus of the program's target page reads the stored choice.
TEST_F(ReportsPagesTest, TargetPageOffersFixedDrivesAndRemembersTheFolder)
{
    m_store.WriteProfileInt("ReportsPage1", "AnalyzeFolder", 1);
    m_store.WriteProfileString("ReportsPage1", "FolderName", "C:\\windows");
    m_store.WriteProfileString("ReportsPage1", "SkipFolders", "cache");
    Open();
    ASSERT_EQ(View().GetCurrentPage(), View().GetPage(kReportsTab, 1));
    HWND drives = ::GetDlgItem(Target(), IDC_DRIVE_LIST);
    ASSERT_EQ(::SendMessageA(drives, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(framework::GetWindowTextString(drives), "C:\\ Drive");
    char second[32] = "";
    ::SendMessageA(drives, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(second));
    EXPECT_STREQ(second, "E:\\ Drive");
    EXPECT_EQ(framework::GetWindowTextString(::GetDlgItem(Target(), IDC_FOLDER)), "C:\\windows");
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(Target(), IDC_FOLDER));
    EXPECT_TRUE(::IsDlgButtonChecked(Target(), IDC_FOLDER_RADIO));

    // The radio buttons follow the focus.
    ::SetFocus(drives);
    EXPECT_TRUE(::IsDlgButtonChecked(Target(), IDC_DRIVE_RADIO));
    EXPECT_FALSE(::IsDlgButtonChecked(Target(), IDC_FOLDER_RADIO));

    ScopedOverride<decltype(framework::Seams::browseForFolder)> browse(
        framework::GetSeams().browseForFolder, [](HWND, const char* title) {
            EXPECT_STREQ(title, "Select a Folder to Analyze");
            return std::string();
        });
    Press(Target(), IDC_BROWSE);
    EXPECT_EQ(framework::GetWindowTextString(::GetDlgItem(Target(), IDC_FOLDER)), "C:\\windows");

    // A skip list that cannot be right starts nothing.
    EXPECT_EQ(framework::GetWindowTextString(::GetDlgItem(Target(), IDC_SKIP_FOLDERS)), "cache");
    std::vector<std::string> messages;
    ScopedOverride<decltype(framework::Seams::messageBox)> box(framework::GetSeams().messageBox,
                                                               [&](HWND, const char* text, const char*, UINT) {
                                                                   messages.push_back(text);
                                                                   return IDOK;
                                                               });
    NextAnalysis() = {};
    ::SetDlgItemTextA(Target(), IDC_SKIP_FOLDERS, "cache;C:\\x\\*.git");
    Press(Target(), IDC_NEXT);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("both a path and a wildcard"), std::string::npos);
    EXPECT_EQ(NextAnalysis().target, "");

    // Next with the drive chosen analyses its root and stores the choice.
    ::SetDlgItemTextA(Target(), IDC_SKIP_FOLDERS, "cache;;*.git");
    Press(Target(), IDC_NEXT);
    EXPECT_EQ(NextAnalysis().target, "C:\\");
    EXPECT_EQ(NextAnalysis().skip.Text(), "cache;*.git");
    EXPECT_EQ(m_store.GetProfileInt("ReportsPage1", "AnalyzeFolder", -1), 0);
    EXPECT_EQ(m_store.GetProfileString("ReportsPage1", "SkipFolders", ""), "cache;;*.git");
}

TEST_F(ReportsPagesTest, ResultsShowEachReportAndHideRecycledFiles)
{
    TempFolder temp;
    temp.MakeFile("big.bak", 5000);
    temp.MakeFile("small.bak", 10);
    Open();
    ASSERT_EQ(View().GetCurrentPage(), View().GetPage(kReportsTab, 1));
    AnalyseFolder(temp.Path());

    EXPECT_EQ(framework::GetWindowTextString(::GetDlgItem(Results().GetSafeHwnd(), IDC_REPORT_LIST)), "Largest files");
    EXPECT_EQ(ColumnTexts(List(), 0), (std::vector<std::string>{"big.bak", "small.bak"}));
    EXPECT_EQ(ColumnTexts(List(), 2), (std::vector<std::string>{"4.9 K", "10 bytes"}));
    EXPECT_EQ(::SendMessageA(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
    EXPECT_TRUE(Enabled(IDC_OPEN));

    ChooseReport(ReportId::ZipFiles);  // none
    EXPECT_EQ(ColumnTexts(List(), 0), std::vector<std::string>{"No matching files found."});
    EXPECT_EQ(::SendMessageA(List(), LVM_GETCOLUMNWIDTH, 0, 0), 256);
    EXPECT_FALSE(Enabled(IDC_OPEN));
    EXPECT_FALSE(Enabled(IDC_RECYCLE));
    EXPECT_FALSE(Enabled(IDC_DELETE));

    ChooseReport(ReportId::BakFiles);
    EXPECT_EQ(::SendMessageA(List(), LVM_GETCOLUMNWIDTH, 0, 0), 130);
    ScopedOverride<decltype(framework::Seams::fileOperation)> recycle(framework::GetSeams().fileOperation,
                                                                      [](SHFILEOPSTRUCTA& operation) {
                                                                          ::DeleteFileA(operation.pFrom);
                                                                          return 0;
                                                                      });
    Press(Results().GetSafeHwnd(), IDC_RECYCLE);
    ChooseReport(ReportId::SmallestFiles);
    EXPECT_EQ(ColumnTexts(List(), 0), std::vector<std::string>{"small.bak"});
}

TEST_F(ReportsPagesTest, AMissingFolderFindsNothingInEveryReport)
{
    Open();
    ASSERT_EQ(View().GetCurrentPage(), View().GetPage(kReportsTab, 1));
    AnalyseFolder("C:\\no such folder");
    for (const ReportRow& report : kReports) {
        ChooseReport(report.id);
        const char* nothing = report.id == ReportId::GrownFolders
                                  ? "No earlier analysis of this folder to compare with."
                                  : "No matching files found.";
        EXPECT_EQ(ColumnTexts(List(), 0), std::vector<std::string>{nothing}) << report.caption;
        EXPECT_FALSE(Enabled(IDC_OPEN));
    }
}

TEST_F(ReportsPagesTest, LargestFoldersGoWholeAndAnyListWithRowsIsExported)
{
    TempFolder temp;
    temp.MakeFile("big\\inner\\f.bin", 3000);
    temp.MakeFile("small\\g.bin", 10);
    Open();
    ASSERT_EQ(View().GetCurrentPage(), View().GetPage(kReportsTab, 1));
    AnalyseFolder(temp.Path());
    ChooseReport(ReportId::LargestFolders);
    EXPECT_EQ(ColumnTexts(List(), 0), (std::vector<std::string>{"big", "inner", "small"}));
    EXPECT_EQ(ColumnTexts(List(), 2), (std::vector<std::string>{"2.9 K", "2.9 K", "10 bytes"}));

    HWND frame = m_app->GetMainFrame()->GetSafeHwnd();
    HMENU file = ::GetSubMenu(::GetMenu(frame), 0);
    auto exportEnabled = [&] {
        ::SendMessageA(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
        return !(::GetMenuState(file, ID_FILE_EXPORT, MF_BYCOMMAND) & MF_GRAYED);
    };
    EXPECT_TRUE(exportEnabled());
    std::string offered, chosen = temp.Path() + "folders.csv";
    ScopedOverride<decltype(framework::Seams::saveFileName)> save(framework::GetSeams().saveFileName,
                                                                  [&](HWND, const char* name) {
                                                                      offered = name;
                                                                      return chosen;
                                                                  });
    std::vector<std::string> messages;
    ScopedOverride<decltype(framework::Seams::messageBox)> box(framework::GetSeams().messageBox,
                                                               [&](HWND, const char* text, const char*, UINT) {
                                                                   messages.push_back(text);
                                                                   return IDOK;
                                                               });
    ::SendMessageA(frame, WM_COMMAND, ID_FILE_EXPORT, 0);
    EXPECT_EQ(offered, "Reports - Largest folders.csv");
    std::ifstream written(chosen, std::ios::binary);
    std::string header;
    std::getline(written, header);
    EXPECT_EQ(header, "\xEF\xBB\xBF"
                      "FileName,Folder,Size,On disk,Last Modified,Bytes,Bytes on disk\r");
    EXPECT_TRUE(messages.empty());
    chosen = temp.Path() + "missing\\folders.csv";
    ::SendMessageA(frame, WM_COMMAND, ID_FILE_EXPORT, 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Corvane could not write the list to " + chosen, 0), 0u);

    // Recycling a folder takes what lay in it out of every report.
    ScopedOverride<decltype(framework::Seams::fileOperation)> recycle(
        framework::GetSeams().fileOperation, [&](SHFILEOPSTRUCTA& operation) {
            EXPECT_EQ(operation.pFrom, temp.Path() + "big");
            ::DeleteFileA((temp.Path() + "big\\inner\\f.bin").c_str());
            ::RemoveDirectoryA((temp.Path() + "big\\inner").c_str());
            ::RemoveDirectoryA((temp.Path() + "big").c_str());
            return 0;
        });
    Press(Results().GetSafeHwnd(), IDC_RECYCLE);
    EXPECT_EQ(ColumnTexts(List(), 0), std::vector<std::string>{"small"});
    ChooseReport(ReportId::LargestFiles);
    EXPECT_EQ(ColumnTexts(List(), 0), std::vector<std::string>{"g.bin"});
    ChooseReport(ReportId::ZipFiles);
    EXPECT_FALSE(exportEnabled());
}

TEST_F(ReportsPagesTest, FoldersThatGrewCompareWithTheLastAnalysisOfTheTarget)
{
    TempFolder temp;
    temp.MakeFile("a\\f.bin", 10);
    Open();
    AnalyseFolder(temp.Path());
    ChooseReport(ReportId::GrownFolders);
    EXPECT_EQ(ColumnTexts(List(), 0), std::vector<std::string>{"No earlier analysis of this folder to compare with."});

    temp.MakeFile("a\\b\\g.bin", 2048);
    Press(Results().GetSafeHwnd(), IDC_START_OVER);
    ASSERT_TRUE(PumpUntil([&] { return View().GetCurrentPage() == View().GetPage(kReportsTab, 1); }));
    AnalyseFolder(temp.Path());
    ChooseReport(ReportId::GrownFolders);
    EXPECT_EQ(framework::GetWindowTextString(::GetDlgItem(Results().GetSafeHwnd(), IDC_REPORT_LIST))
                  .rfind("Folders that grew since ", 0),
              0u);
    EXPECT_EQ(ColumnTexts(List(), 0), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(ColumnTexts(List(), 2), (std::vector<std::string>{"2.0 K", "2.0 K"}));
    EXPECT_EQ(ColumnTexts(List(), 4), (std::vector<std::string>{"+2.0 K", "+2.0 K"}));
    char header[32] = "";
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = header;
    column.cchTextMax = sizeof header;
    ::SendMessageA(List(), LVM_GETCOLUMNA, 3, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(header, "On disk");
    ::SendMessageA(List(), LVM_GETCOLUMNA, 4, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(header, "Growth");
    EXPECT_TRUE(Enabled(IDC_OPEN));

    // An analysis that skipped other folders is not compared with.
    Press(Results().GetSafeHwnd(), IDC_START_OVER);
    ASSERT_TRUE(PumpUntil([&] { return View().GetCurrentPage() == View().GetPage(kReportsTab, 1); }));
    ::SetDlgItemTextA(Target(), IDC_SKIP_FOLDERS, "b");
    AnalyseFolder(temp.Path());
    ChooseReport(ReportId::GrownFolders);
    EXPECT_EQ(ColumnTexts(List(), 0),
              std::vector<std::string>{
                  "The last analysis of this folder skipped other folders: it cannot be compared with this one."});
}

TEST_F(ReportsPagesTest, AStoppedAnalysisLeavesTheKeptOneAlone)
{
    TempFolder temp;
    for (int i = 0; i < 50; ++i)
        temp.MakeFile("a\\f" + std::to_string(i) + ".bin", 10);
    Open();
    AnalyseFolder(temp.Path());
    std::string kept =
        AnalysisKeeper(AnalysisKeeper::DefaultFolder()).FileFor(temp.Path().substr(0, temp.Path().size() - 1));
    auto contents = [&] {
        std::ifstream file(kept, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    };
    const std::string first = contents();
    ASSERT_FALSE(first.empty());

    temp.MakeFile("b\\g.bin", 5000);
    Press(Results().GetSafeHwnd(), IDC_START_OVER);
    ASSERT_TRUE(PumpUntil([&] { return View().GetCurrentPage() == View().GetPage(kReportsTab, 1); }));
    bool stopped = false;
    ScopedOverride<decltype(framework::Clock::tickCount)> clock(framework::GetClock().tickCount, [&] {
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND window, LPARAM pressed) {
                if (HWND stop = ::GetDlgItem(window, IDC_STOP); stop && !*reinterpret_cast<bool*>(pressed)) {
                    Press(stop);
                    *reinterpret_cast<bool*>(pressed) = true;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&stopped));
        return ::GetTickCount();
    });
    AnalyseFolder(temp.Path());
    EXPECT_TRUE(stopped);
    EXPECT_EQ(contents(), first);
}

// The close reaches the disabled window through the Working dialog's pump.
TEST_F(ReportsPagesTest, ClosingTheWindowDuringAnAnalysisStopsItAndThenCloses)
{
    TempFolder temp;
    for (int i = 0; i < 50; ++i)
        temp.MakeFile("a\\f" + std::to_string(i) + ".bin", 10);
    Open();
    HWND frame = m_app->GetMainFrame()->GetSafeHwnd();
    int steps = 0;
    ScopedOverride<decltype(framework::Clock::tickCount)> clock(framework::GetClock().tickCount, [&] {
        if (++steps == 3)
            ::PostMessageA(frame, WM_CLOSE, 0, 0);
        return ::GetTickCount() + static_cast<DWORD>(steps) * 10;
    });
    ::SetDlgItemTextA(Target(), IDC_FOLDER, temp.Path().c_str());
    ::CheckRadioButton(Target(), IDC_DRIVE_RADIO, IDC_FOLDER_RADIO, IDC_FOLDER_RADIO);
    Press(Target(), IDC_NEXT);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(frame); }));
    // Stopped at once: far fewer steps than the 50 files would take.
    EXPECT_LT(steps, 40);
    MSG quit{};
    EXPECT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(ReportsPagesTest, TheSpaceMapActsOnlyOnWhatWasClickedAndZoomsOneFolderAtATime)
{
    TempFolder temp;
    AnalyseFourFiles(temp);
    // The row selected in a report is the file selected on the map, and back.
    EXPECT_EQ(ColumnTexts(List(), 0), (std::vector<std::string>{"big.bin", "a.txt", "b.txt", "small.ini"}));
    SelectRow(List(), 0, false);
    SelectRow(List(), 2);
    CSpaceMapView& map = ShowMap();
    EXPECT_FALSE(::IsWindowVisible(List()));
    EXPECT_TRUE(::IsWindowVisible(map.GetSafeHwnd()));
    EXPECT_EQ(map.Selected(), Node(temp.Path() + "docs\\b.txt"));
    EXPECT_EQ(Results().ListTitle(), "Space map");

    std::uint32_t big = Node(temp.Path() + "big.bin"), a = Node(temp.Path() + "docs\\a.txt");
    Mouse(WM_MOUSEMOVE, big);
    EXPECT_EQ(framework::GetWindowTextString(::GetDlgItem(Results().GetSafeHwnd(), IDC_MAP_STATUS)),
              temp.Path() + "big.bin  (879 K, " + FormatFileSize(map.Tree()->At(big).onDisk) + " on disk)");
    Mouse(WM_LBUTTONDOWN, big);
    EXPECT_EQ(map.Selected(), big);
    std::vector<std::string> opened;
    ScopedOverride<decltype(framework::Seams::shellExecute)> open(
        framework::GetSeams().shellExecute, [&](HWND, const char*, const char* file, const char*, const char*, int) {
            opened.push_back(file);
            return INT_PTR{42};
        });
    Press(Results().GetSafeHwnd(), IDC_OPEN);
    EXPECT_EQ(opened, std::vector<std::string>{temp.Path() + "big.bin"});
    ChooseReport(ReportId::LargestFiles);
    EXPECT_EQ(Results().Results().Selected(), std::vector<size_t>{0});

    // A double-click zooms into the folder clicked; Up and Backspace go back.
    ShowMap();
    EXPECT_FALSE(Enabled(IDC_MAP_UP));
    Mouse(WM_LBUTTONDBLCLK, a);
    EXPECT_EQ(map.Folder(), Node(temp.Path() + "docs"));
    ASSERT_TRUE(Enabled(IDC_MAP_UP));
    Press(Results().GetSafeHwnd(), IDC_MAP_UP);
    EXPECT_EQ(map.Folder(), map.Tree()->Root());
    Mouse(WM_LBUTTONDBLCLK, a);
    ::SendMessageA(map.GetSafeHwnd(), WM_KEYDOWN, VK_BACK, 0);
    EXPECT_EQ(map.Folder(), map.Tree()->Root());

    // A second click takes the folder holding the file, which goes whole.
    Mouse(WM_LBUTTONDOWN, a);
    Mouse(WM_LBUTTONDOWN, a);
    EXPECT_EQ(map.Selected(), Node(temp.Path() + "docs"));
    std::vector<std::string> removed;
    ScopedOverride<decltype(framework::Seams::fileOperation)> recycle(
        framework::GetSeams().fileOperation, [&](SHFILEOPSTRUCTA& operation) {
            removed.push_back(operation.pFrom);
            EXPECT_EQ(operation.fFlags, FOF_ALLOWUNDO);
            for (const char* name : {"docs\\a.txt", "docs\\b.txt"})
                ::DeleteFileA((temp.Path() + name).c_str());
            ::RemoveDirectoryA((temp.Path() + "docs").c_str());
            return 0;
        });
    Press(Results().GetSafeHwnd(), IDC_RECYCLE);
    EXPECT_EQ(removed, std::vector<std::string>{temp.Path() + "docs"});
    EXPECT_EQ(map.Selected(), SpaceTree::kNone);
    RECT gone = map.Map().RectOf(a);
    EXPECT_TRUE(::IsRectEmpty(&gone));
    EXPECT_FALSE(Enabled(IDC_RECYCLE));
    ChooseReport(ReportId::LargestFiles);
    EXPECT_EQ(ColumnTexts(List(), 0), (std::vector<std::string>{"big.bin", "small.ini"}));
}

// E:\map holds a 5 GiB sparse file, 300 KiB written, an empty folder and a link back to itself.
TEST_F(ReportsPagesTest, TheMapOfAnAwkwardTreeDrawsTheRoomFilesTake)
{
    Open();
    AnalyseFolder("E:\\map");
    CSpaceMapView& map = ShowMap();
    const SpaceMap& picture = map.Map();
    ASSERT_GT(picture.Width(), 0);
    const MapTile* largest = nullptr;
    auto area = [](const RECT& r) { return static_cast<long long>(r.right - r.left) * (r.bottom - r.top); };
    for (const MapTile& tile : picture.Tiles()) {
        if (!map.Tree()->At(tile.node).folder && (!largest || area(tile.rect) > area(largest->rect)))
            largest = &tile;
    }
    ASSERT_TRUE(largest);
    EXPECT_EQ(map.Tree()->Path(largest->node), "E:\\map\\docs\\notes.txt");
    EXPECT_EQ(Node("E:\\map\\docs\\back"), SpaceTree::kNone);
    EXPECT_NE(Node("E:\\map\\empty"), SpaceTree::kNone);

    // Printed as shown, as large as the page allows.
    RecordingTarget printed;
    map.Print(printed, 1000, 4000);
    ASSERT_EQ(printed.pictures.size(), 1u);
    EXPECT_EQ(printed.pictures[0].cx, 1000);
    EXPECT_NEAR(printed.pictures[0].cy, 1000.0 * picture.Height() / picture.Width(), 1.0);
}

// The Folder column takes the room the window gives and gives it back; a
// folder under the root names the root whole.
TEST_F(ReportsPagesTest, TheFolderColumnTakesTheRoomTheWindowGivesAndTheRootKeepsItsBackslash)
{
    Open();
    AnalyseFolder("E:\\");
    ChooseReport(ReportId::LargestFolders);
    std::vector<std::string> names = ColumnTexts(List(), 0);
    auto map = std::ranges::find(names, "map");
    ASSERT_NE(map, names.end());
    auto row = static_cast<size_t>(map - names.begin());
    EXPECT_EQ(ColumnTexts(List(), 1)[row], "E:\\");
    EXPECT_EQ(Results().Results().Path(row), "E:\\map");

    // A report of files: its four columns fit the list as it starts.
    ChooseReport(ReportId::LargestFiles);
    auto widths = [&] {
        std::vector<int> found;
        for (int column = 0; column < 4; ++column)
            found.push_back(static_cast<int>(::SendMessageA(List(), LVM_GETCOLUMNWIDTH, column, 0)));
        return found;
    };
    auto listWidth = [&] {
        RECT rect{};
        ::GetWindowRect(List(), &rect);
        return static_cast<int>(rect.right - rect.left);
    };
    HWND frame = m_app->GetMainFrame()->GetSafeHwnd();
    RECT start{};
    ::GetWindowRect(frame, &start);
    auto resize = [&](int width, int height) {
        ::SetWindowPos(frame, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
        PumpPending();
    };
    std::vector<int> before = widths();
    int beforeList = listWidth();
    resize(1000, 700);
    std::vector<int> wide = widths();
    ASSERT_GT(listWidth(), beforeList);
    EXPECT_EQ(wide[1] - before[1], listWidth() - beforeList);
    EXPECT_EQ(wide[0], before[0]);
    EXPECT_EQ(wide[2], before[2]);
    EXPECT_EQ(wide[3], before[3]);
    resize(start.right - start.left, start.bottom - start.top);
    EXPECT_EQ(widths(), before);
    EXPECT_GE(before[1], 200);
}

TEST_F(ReportsPagesTest, DuplicatesKeepTheOldestOrTheCopyInAFolderAndTheLastCopyGoesOnlyWhenConfirmed)
{
    TempFolder temp;
    SetLastWrite(temp.WriteFile("new\\photo.jpg", "the same picture"), 1'600'000'000);
    SetLastWrite(temp.WriteFile("old\\photo.jpg", "the same picture"), 1'500'000'000);
    SetLastWrite(temp.WriteFile("keep\\photo copy.jpg", "the same picture"), 1'700'000'000);
    SetLastWrite(temp.WriteFile("notes\\a.txt", "notes"), 1'600'000'000);
    SetLastWrite(temp.WriteFile("notes\\b.txt", "notes"), 1'500'000'000);
    Open();
    AnalyseFolder(temp.Path());
    ChooseEntry(kReportCount + 3);
    HWND page = Results().GetSafeHwnd();
    EXPECT_EQ(ColumnTexts(List(), 4), (std::vector<std::string>{"1", "1", "1", "2", "2"}));
    EXPECT_EQ(framework::GetWindowTextString(::GetDlgItem(page, IDC_FOUND)),
              "2 groups of copies: removing all but one copy of each frees " + FormatSpace(2 * 16 + 5) + ".");
    auto selected = [&] {
        std::set<std::string> paths;
        for (size_t row : Results().Results().Selected())
            paths.insert(Results().Results().Path(row).substr(temp.Path().size()));
        return paths;
    };
    Press(page, IDC_SELECT_COPIES);
    EXPECT_EQ(selected(), (std::set<std::string>{"new\\photo.jpg", "keep\\photo copy.jpg", "notes\\a.txt"}));
    ScopedOverride<decltype(framework::Seams::browseForFolder)> browse(
        framework::GetSeams().browseForFolder, [&](HWND, const char*) { return temp.Path() + "keep"; });
    Press(page, IDC_KEEP_IN_FOLDER);
    EXPECT_EQ(selected(), (std::set<std::string>{"new\\photo.jpg", "old\\photo.jpg", "notes\\a.txt"}));

    // Both notes: the question names the file, and No removes nothing.
    std::vector<std::string> questions;
    int answer = IDNO;
    ScopedOverride<decltype(framework::Seams::messageBox)> box(framework::GetSeams().messageBox,
                                                               [&](HWND, const char* text, const char*, UINT) {
                                                                   questions.push_back(text);
                                                                   return answer;
                                                               });
    int operations = 0;
    ScopedOverride<decltype(framework::Seams::fileOperation)> remove(framework::GetSeams().fileOperation,
                                                                     [&](SHFILEOPSTRUCTA& operation) {
                                                                         ++operations;
                                                                         ::DeleteFileA(operation.pFrom);
                                                                         return 0;
                                                                     });
    for (int row = 0; row < 5; ++row)
        SelectRow(List(), row, ShownText(List(), row, 4) == "2");
    Press(page, IDC_DELETE);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_TRUE(questions[0].starts_with("Every copy of a.txt is selected") ||
                questions[0].starts_with("Every copy of b.txt is selected"))
        << questions[0];
    EXPECT_EQ(operations, 0);
    EXPECT_EQ(Results().Rows().Count(), 5u);

    // One of two goes unasked, and its group, one copy left, leaves the list.
    SelectRow(List(), -1, false);
    SelectRow(List(), 4);
    Press(page, IDC_DELETE);
    EXPECT_EQ(questions.size(), 1u);
    EXPECT_EQ(operations, 1);
    EXPECT_EQ(ColumnTexts(List(), 4), (std::vector<std::string>{"1", "1", "1"}));
}

TEST_F(ReportsPagesTest, FileTypesTotalEachExtensionLightTheirTilesAndListTheirFiles)
{
    TempFolder temp;
    temp.MakeFile("a.ISO", 60000);
    temp.MakeFile("big\\b.iso", 10000);
    temp.MakeFile("c.txt", 10000);
    temp.MakeFile("docs\\d.TXT", 10000);
    temp.MakeFile("e", 7000);
    for (int i = 0; i < 10; ++i)
        temp.MakeFile("logs\\" + std::to_string(i) + ".log", 10);
    Open();
    AnalyseFolder(temp.Path());
    ChooseEntry(kReportCount + 1);
    HWND page = Results().GetSafeHwnd();
    EXPECT_EQ(Results().ListTitle(), "File types");
    CSpaceMapView& map = Results().FileTypesMap();
    const SpaceTree& tree = *map.Tree();
    // Each row against the room its files take, as the test counts it in the tree.
    std::map<std::string, std::uint64_t> onDisk;
    for (std::uint32_t node = 0; node < tree.Count(); ++node) {
        if (!tree.At(node).folder)
            onDisk[ExtensionOf(tree.Name(node))] += tree.At(node).onDisk;
    }
    auto sort = [&](int column) {
        NMLISTVIEW click{};
        click.hdr = {List(), IDC_RESULTS_LIST, LVN_COLUMNCLICK};
        click.iItem = -1;
        click.iSubItem = column;
        ::SendMessageA(page, WM_NOTIFY, IDC_RESULTS_LIST, reinterpret_cast<LPARAM>(&click));
    };
    // The counts sort as numbers: 10 before 2.
    sort(5);
    EXPECT_EQ(ShownText(List(), 0, 0), ".log");
    sort(2);
    EXPECT_EQ(ColumnTexts(List(), 0), (std::vector<std::string>{".iso", ".txt", "(no extension)", ".log"}));
    EXPECT_EQ(ColumnTexts(List(), 1)[1], "Text");
    EXPECT_EQ(ColumnTexts(List(), 2), (std::vector<std::string>{FormatFileSize(70000), FormatFileSize(20000),
                                                                FormatFileSize(7000), FormatFileSize(100)}));
    EXPECT_EQ(ColumnTexts(List(), 3),
              (std::vector<std::string>{FormatFileSize(onDisk[".iso"]), FormatFileSize(onDisk[".txt"]),
                                        FormatFileSize(onDisk[""]), FormatFileSize(onDisk[".log"])}));
    EXPECT_EQ(ColumnTexts(List(), 5), (std::vector<std::string>{"2", "2", "1", "10"}));

    // Each choice lights exactly the tiles of its files.
    auto lit = [&] {
        std::set<std::string> names;
        for (const MapTile& tile : map.Map().Tiles()) {
            if (tile.lit)
                names.insert(std::string(tree.Name(tile.node)));
        }
        return names;
    };
    SelectRow(List(), -1, false);
    SelectRow(List(), 1);
    EXPECT_EQ(lit(), (std::set<std::string>{"c.txt", "d.TXT"}));
    std::string status = framework::GetWindowTextString(::GetDlgItem(page, IDC_FOUND));
    EXPECT_TRUE(status.starts_with(".txt: ") && status.find(" in 2 files, ") != std::string::npos) << status;
    SelectRow(List(), 2);
    EXPECT_EQ(lit(), (std::set<std::string>{"c.txt", "d.TXT", "e"}));
    EXPECT_FALSE(Enabled(IDC_OPEN));
    EXPECT_FALSE(Enabled(IDC_RECYCLE));
    EXPECT_TRUE(Enabled(IDC_PRINT));
    EXPECT_TRUE(Results().CanExport());
    EXPECT_NE(Results().ExportCsv().find("(no extension)"), std::string::npos);

    // A double-click lists the type's files.
    SelectRow(List(), -1, false);
    SelectRow(List(), 0);
    NMITEMACTIVATE activate{};
    activate.hdr = {List(), IDC_RESULTS_LIST, NM_DBLCLK};
    ::SendMessageA(page, WM_NOTIFY, IDC_RESULTS_LIST, reinterpret_cast<LPARAM>(&activate));
    EXPECT_EQ(Results().ListTitle(), "Files of type .iso");
    std::vector<std::string> names = ColumnTexts(List(), 0);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), (std::set<std::string>{"a.ISO", "b.iso"}));
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(page, IDC_TYPES_BACK)));
    EXPECT_EQ(lit(), (std::set<std::string>{"a.ISO", "b.iso"}));

    // Recycle takes the one file selected, and the totals follow.
    std::vector<std::string> recycled;
    ScopedOverride<decltype(framework::Seams::fileOperation)> recycle(framework::GetSeams().fileOperation,
                                                                      [&](SHFILEOPSTRUCTA& operation) {
                                                                          recycled.push_back(operation.pFrom);
                                                                          ::DeleteFileA(operation.pFrom);
                                                                          return 0;
                                                                      });
    SelectRow(List(), -1, false);
    SelectRow(List(), names[0] == "b.iso" ? 0 : 1);
    EXPECT_TRUE(Enabled(IDC_OPEN));
    Press(page, IDC_RECYCLE);
    EXPECT_EQ(recycled, std::vector<std::string>{temp.Path() + "big\\b.iso"});
    EXPECT_EQ(ColumnTexts(List(), 0), std::vector<std::string>{"a.ISO"});
    EXPECT_NE(framework::GetPathAttributes(temp.Path() + "a.ISO"), INVALID_FILE_ATTRIBUTES);

    // Backspace returns to the types, the one listed chosen.
    ::SendMessageA(List(), WM_KEYDOWN, VK_BACK, 0);
    EXPECT_EQ(Results().ListTitle(), "File types");
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(page, IDC_TYPES_BACK)));
    std::vector<size_t> chosen = Results().Results().Selected();
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(ShownText(List(), static_cast<int>(chosen[0]), 0), ".iso");
    EXPECT_EQ(ShownText(List(), static_cast<int>(chosen[0]), 2), FormatFileSize(60000));
    EXPECT_EQ(ShownText(List(), static_cast<int>(chosen[0]), 5), "1");
    EXPECT_EQ(lit(), std::set<std::string>{"a.ISO"});
}

TEST_F(ReportsPagesTest, TheFolderTreeWalksDownBesideItsMap)
{
    TempFolder temp;
    temp.MakeFile("docs\\inner\\c.txt", 1000);
    AnalyseFourFiles(temp);
    CFolderTreeList& tree = ShowTree();
    CSpaceMapView& map = Results().FolderTree().Map();
    EXPECT_FALSE(::IsWindowVisible(List()));
    EXPECT_TRUE(::IsWindowVisible(tree.List()));
    EXPECT_TRUE(::IsWindowVisible(map.GetSafeHwnd()));
    RECT above = framework::ChildRect(tree.GetSafeHwnd()), below = framework::ChildRect(map.GetSafeHwnd());
    EXPECT_LT(above.bottom, below.top);
    // The bar between them goes where it is dragged; the mouse keeps its grip on it.
    HWND bar = ::GetDlgItem(Results().GetSafeHwnd(), IDC_TREE_SPLITTER);
    ::SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 2));
    ::SendMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 12));
    ::SendMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(5, 2));
    EXPECT_EQ(framework::ChildRect(tree.GetSafeHwnd()).bottom, above.bottom + 10);
    EXPECT_EQ(framework::ChildRect(map.GetSafeHwnd()).top, below.top + 10);
    const std::string target = temp.Path().substr(0, temp.Path().size() - 1);
    EXPECT_EQ(TreeNames(), (std::vector<std::string>{target, "big.bin", "docs", "small.ini"}));
    // Selected as it was in the report shown before; type-ahead finds a name among the rows shown.
    EXPECT_EQ(FocusedName(), "big.bin");
    ::SendMessageA(tree.List(), WM_CHAR, 's', 1);
    EXPECT_EQ(FocusedName(), "small.ini");

    // Right opens, then goes in; Left goes out, then closes; * opens everything below.
    tree.SelectNode(Node(temp.Path() + "docs"));
    EXPECT_EQ(map.Selected(), Node(temp.Path() + "docs"));
    Key(VK_RIGHT);
    EXPECT_EQ(TreeNames(),
              (std::vector<std::string>{target, "big.bin", "docs", "a.txt", "b.txt", "inner", "small.ini"}));
    Key(VK_RIGHT);
    EXPECT_EQ(FocusedName(), "a.txt");
    EXPECT_EQ(map.Selected(), Node(temp.Path() + "docs\\a.txt"));
    Key(VK_LEFT);
    EXPECT_EQ(FocusedName(), "docs");
    Key(VK_LEFT);
    EXPECT_EQ(TreeNames(), (std::vector<std::string>{target, "big.bin", "docs", "small.ini"}));
    Key(VK_MULTIPLY);
    EXPECT_EQ(TreeNames(),
              (std::vector<std::string>{target, "big.bin", "docs", "a.txt", "b.txt", "inner", "c.txt", "small.ini"}));
    Key(VK_LEFT);

    // A double-click on a file opens it.
    std::vector<std::string> opened;
    ScopedOverride<decltype(framework::Seams::shellExecute)> open(
        framework::GetSeams().shellExecute, [&](HWND, const char*, const char* file, const char*, const char*, int) {
            opened.push_back(file);
            return INT_PTR{42};
        });
    ::SendMessageA(tree.List(), LVM_ENSUREVISIBLE, 1, FALSE);
    RECT big{LVIR_LABEL, 0, 0, 0};
    ::SendMessageA(tree.List(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&big));
    ::SendMessageA(tree.List(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(big.right - 2, (big.top + big.bottom) / 2));
    EXPECT_EQ(opened, std::vector<std::string>{temp.Path() + "big.bin"});

    // A tile clicked selects its row, its folder opened.
    std::uint32_t a = Node(temp.Path() + "docs\\a.txt");
    RECT tile = map.Map().RectOf(a);
    ASSERT_FALSE(::IsRectEmpty(&tile));
    ::SendMessageA(map.GetSafeHwnd(), WM_LBUTTONDOWN, 0,
                   MAKELPARAM((tile.left + tile.right) / 2, (tile.top + tile.bottom) / 2));
    EXPECT_EQ(FocusedName(), "a.txt");
    EXPECT_EQ(tree.Selected(), std::vector<size_t>{3});

    // Export writes the rows shown, each with its whole path.
    HWND frame = m_app->GetMainFrame()->GetSafeHwnd();
    std::string chosen = temp.Path() + "tree.csv";
    ScopedOverride<decltype(framework::Seams::saveFileName)> save(framework::GetSeams().saveFileName,
                                                                  [&](HWND, const char*) { return chosen; });
    ::SendMessageA(frame, WM_COMMAND, ID_FILE_EXPORT, 0);
    std::ifstream written(chosen, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(written, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 1 + TreeNames().size());
    EXPECT_EQ(lines[0], "\xEF\xBB\xBF"
                        "Path,Size,On disk,Files,Last change\r");
    EXPECT_EQ(lines[1].rfind(target + ",1501000,", 0), 0u);
    EXPECT_EQ(lines[5].rfind(temp.Path() + "docs\\b.txt,200000,", 0), 0u);
    ::DeleteFileA(chosen.c_str());

    // Recycling a folder hands the shell that folder, and its folders hold less.
    tree.SelectNode(Node(temp.Path() + "docs"));
    std::vector<std::string> removed;
    ScopedOverride<decltype(framework::Seams::fileOperation)> recycle(
        framework::GetSeams().fileOperation, [&](SHFILEOPSTRUCTA& operation) {
            removed.push_back(operation.pFrom);
            for (const char* name : {"docs\\a.txt", "docs\\b.txt", "docs\\inner\\c.txt"})
                ::DeleteFileA((temp.Path() + name).c_str());
            ::RemoveDirectoryA((temp.Path() + "docs\\inner").c_str());
            ::RemoveDirectoryA((temp.Path() + "docs").c_str());
            return 0;
        });
    Press(Results().GetSafeHwnd(), IDC_RECYCLE);
    EXPECT_EQ(removed, std::vector<std::string>{temp.Path() + "docs"});
    EXPECT_EQ(TreeNames(), (std::vector<std::string>{target, "big.bin", "small.ini"}));
    EXPECT_EQ(tree.Rows().Text(0, TreeColumn::Size), FormatFileSize(1000000));
    EXPECT_EQ(tree.Rows().Text(0, TreeColumn::Files), "2");
}

// E:\ is a drive root: the lists' own checks keep it from the shell.
TEST_F(ReportsPagesTest, TheFolderTreeLeavesADriveRootAlone)
{
    Open();
    AnalyseFolder("E:\\");
    CFolderTreeList& tree = ShowTree();
    tree.SelectNode(tree.Rows().Tree()->Root());
    EXPECT_TRUE(Enabled(IDC_RECYCLE));
    std::vector<std::string> messages;
    ScopedOverride<decltype(framework::Seams::messageBox)> box(framework::GetSeams().messageBox,
                                                               [&](HWND, const char* text, const char*, UINT) {
                                                                   messages.push_back(text);
                                                                   return IDOK;
                                                               });
    int handed = 0;
    ScopedOverride<decltype(framework::Seams::fileOperation)> recycle(framework::GetSeams().fileOperation,
                                                                      [&](SHFILEOPSTRUCTA&) { return ++handed, 0; });
    Press(Results().GetSafeHwnd(), IDC_RECYCLE);
    EXPECT_EQ(handed, 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("drive root"), std::string::npos);
    EXPECT_EQ(tree.Rows().Count(), TreeNames().size());
    EXPECT_EQ(TreeNames().front(), "E:\\");
}

// A tree saved by the command line shows as its analysis did; what is not on
// this computer is left alone, and a damaged file loads nothing.
TEST_F(ReportsPagesTest, ASavedTreeOpensAsTheAnalysisShowedIt)
{
    TempFolder temp;
    temp.MakeFile("tree\\big.bin", 5000, true);
    std::string gone = temp.MakeFile("tree\\sub\\gone.bak", 100, true);
    std::string saved = temp.Path() + "saved.csv";
    {
        ExportFile file(saved);
        TreeWriter writer(file, TreeFormat::Csv);
        FolderAnalysis analysis;
        analysis.SetListener(&writer);
        ScriptedSink sink;
        analysis.Start(temp.Path() + "tree", sink);
        writer.Finish();
        ASSERT_EQ(file.Commit(), static_cast<DWORD>(ERROR_SUCCESS));
    }
    ::DeleteFileA(gone.c_str());
    Open();
    m_app->GetMainFrame()->OpenAnalysis(saved);
    ASSERT_TRUE(PumpUntil([&] { return View().GetCurrentPage() == &Results(); }));
    PumpPending();
    EXPECT_EQ(ColumnTexts(List(), 0), (std::vector<std::string>{"big.bin", "gone.bak"}));
    std::vector<std::string> messages;
    ScopedOverride<decltype(framework::Seams::messageBox)> box(framework::GetSeams().messageBox,
                                                               [&](HWND, const char* text, const char*, UINT) {
                                                                   messages.push_back(text);
                                                                   return IDOK;
                                                               });
    SelectRow(List(), 1);
    Press(Results().GetSafeHwnd(), IDC_DELETE);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(gone + " is not on this computer"), std::string::npos);

    std::ofstream(saved, std::ios::binary | std::ios::trunc) << "Path,Type\r\n";
    m_app->GetMainFrame()->OpenAnalysis(saved);
    PumpPending();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].rfind("Corvane could not open the analysis in " + saved, 0), 0u);
    EXPECT_EQ(ColumnTexts(List(), 0), (std::vector<std::string>{"big.bin", "gone.bak"}));
}

// Without an administrator's rights the faster way is offered, and taking it
// starts this program again through the shell's elevation prompt.
TEST_F(ReportsPagesTest, TheTargetPageOffersTheFasterWayToAnAdministrator)
{
    Open();
    HWND offer = ::GetDlgItem(Target(), IDC_RUN_AS_ADMIN);
    EXPECT_EQ(::IsWindowVisible(offer) != FALSE, !framework::IsElevated());
    ::ShowWindow(offer, SW_SHOW);  // as a user without those rights sees it
    int answer = IDNO;
    ScopedOverride<decltype(framework::Seams::messageBox)> box(
        framework::GetSeams().messageBox, [&](HWND, const char* text, const char*, UINT) {
            EXPECT_NE(std::string(text).find("An administrator can analyze NTFS drives much faster"),
                      std::string::npos);
            return answer;
        });
    std::vector<std::string> started;
    ScopedOverride<decltype(framework::Seams::shellExecute)> shell(
        framework::GetSeams().shellExecute,
        [&](HWND, const char* verb, const char* file, const char*, const char*, int) {
            started.push_back(std::string(verb) + " " + file);
            return INT_PTR{5};  // the user declined the prompt
        });
    Press(offer);
    EXPECT_TRUE(started.empty());
    answer = IDYES;
    Press(offer);
    char program[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    EXPECT_EQ(started, std::vector<std::string>{std::string("runas ") + program});
    PumpPending();
    EXPECT_EQ(View().GetCurrentPage(), View().GetPage(kReportsTab, 1));
}
