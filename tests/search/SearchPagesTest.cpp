#include "search/SearchPages.h"

#include "app/Tabs.h"
#include "framework/Clock.h"
#include "framework/FileFind.h"
#include "framework/Seams.h"
#include "framework/Text.h"
#include "resources/resource.h"

#include "support/Messages.h"
#include "support/Override.h"
#include "support/Program.h"
#include "support/TempFolder.h"
#include "support/TestList.h"
#include "support/UserActions.h"

#include <commctrl.h>

#include <algorithm>

namespace {

class SearchPagesTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        m_store.WriteProfileInt("Settings", "SkipSearchPage0", 1);
    }
    void Open() { StartOn(kSearchTab, 1); }

    HWND Criteria() { return Page(kSearchTab, 1); }
    HWND Results() { return Page(kSearchTab, 2); }
    HWND ResultsList() { return ::GetDlgItem(Results(), IDC_RESULTS_LIST); }
    std::string Text(HWND page, int id) { return framework::GetWindowTextString(::GetDlgItem(page, id)); }
    void Set(int id, const char* text) { ::SetDlgItemTextA(Criteria(), id, text); }
    void Click(HWND page, int id)
    {
        Press(page, id);
        PumpPending();
    }
    void Arrow(int delta)
    {
        NMUPDOWN step{{::GetDlgItem(Criteria(), IDC_SIZE_SPIN), IDC_SIZE_SPIN, UDN_DELTAPOS}, 0, delta};
        ::SendMessageA(Criteria(), WM_NOTIFY, IDC_SIZE_SPIN, reinterpret_cast<LPARAM>(&step));
    }
    void Search()
    {
        Click(Criteria(), IDC_SEARCH);
        ASSERT_TRUE(PumpUntil([&] { return View().GetCurrentPage() == View().GetPage(kSearchTab, 2); }));
        PumpPending();
    }
};

}  // namespace

TEST_F(SearchPagesTest, CriteriaStartWithTheirDefaultsAndComeBackAfterARestart)
{
    Open();
    EXPECT_EQ(Text(Criteria(), IDC_SEARCH_NAME), "*.*");
    EXPECT_EQ(Text(Criteria(), IDC_SEARCH_FOLDER), "C:\\");
    EXPECT_TRUE(::IsDlgButtonChecked(Criteria(), IDC_SEARCH_SUBFOLDERS));
    EXPECT_EQ(Text(Criteria(), IDC_DATE_CHOICE), "After");
    EXPECT_EQ(Text(Criteria(), IDC_SEARCH_DATE), "YYYY/MM/DD");
    EXPECT_EQ(Text(Criteria(), IDC_SIZE_CHOICE), "At Least");
    EXPECT_EQ(Text(Criteria(), IDC_SEARCH_SIZE), "0 KB");
    EXPECT_EQ(Text(Criteria(), IDC_SEARCH_WORDS), "");
    EXPECT_EQ(Text(Criteria(), IDC_SKIP_FOLDERS), "");
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(Criteria(), IDC_DATE_SELECT)));

    Set(IDC_SEARCH_SIZE, "37 KB");
    Arrow(1);
    EXPECT_EQ(Text(Criteria(), IDC_SEARCH_SIZE), "38 KB");
    Set(IDC_SEARCH_SIZE, "abc");
    Arrow(1);
    EXPECT_EQ(Text(Criteria(), IDC_SEARCH_SIZE), "1 KB");

    Set(IDC_SEARCH_NAME, "report*.*");
    ScopedOverride<decltype(framework::Seams::browseForFolder)> browse(framework::GetSeams().browseForFolder,
                                                                       [](HWND, const char* title) {
                                                                           EXPECT_STREQ(title, "Select a Folder");
                                                                           return std::string("E:\\");
                                                                       });
    Click(Criteria(), IDC_BROWSE);
    EXPECT_EQ(Text(Criteria(), IDC_SEARCH_FOLDER), "E:\\");
    EXPECT_EQ(Text(Criteria(), IDC_SEARCH_NAME), "report*.*");

    Set(IDC_SEARCH_SIZE, "250 KB");
    Set(IDC_SKIP_FOLDERS, "node_modules;*.git");
    Search();
    EXPECT_EQ(m_store.GetProfileString("Search", "LastDate", ""), "YYYY/MM/DD");
    Close();
    Open();
    EXPECT_EQ(Text(Criteria(), IDC_SEARCH_SIZE), "250 KB");
    EXPECT_EQ(Text(Criteria(), IDC_SKIP_FOLDERS), "node_modules;*.git");
    EXPECT_EQ(Text(Criteria(), IDC_SEARCH_FOLDER), "E:\\");
}

TEST_F(SearchPagesTest, ResultsListTheFilesFoundAndStartOverKeepsTheCriteria)
{
    const char* rootFile = "E:\\corvane-search-root.txt";
    ::CloseHandle(::CreateFileA(rootFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    Open();
    Set(IDC_SEARCH_FOLDER, "E:\\");
    Set(IDC_SEARCH_NAME, "corvane-search-root.txt");
    Search();
    EXPECT_EQ(ColumnTexts(ResultsList(), 0), std::vector<std::string>{"corvane-search-root.txt"});
    EXPECT_EQ(ColumnTexts(ResultsList(), 1), std::vector<std::string>{"E:\\"});
    EXPECT_EQ(::SendMessageA(ResultsList(), LVM_GETSELECTEDCOUNT, 0, 0), 0);

    Click(Results(), IDC_START_OVER);
    EXPECT_EQ(View().GetCurrentPage(), View().GetPage(kSearchTab, 1));
    EXPECT_EQ(Text(Criteria(), IDC_SEARCH_NAME), "corvane-search-root.txt");

    ::DeleteFileA(rootFile);
    Search();
    EXPECT_EQ(ColumnTexts(ResultsList(), 0), std::vector<std::string>{});
    for (int id : {IDC_OPEN, IDC_RECYCLE, IDC_DELETE})
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(Results(), id))) << id;
}

TEST_F(SearchPagesTest, MatchesFillTheListInOrderWhileTheSearchRunsAndStopKeepsThem)
{
    TempFolder temp;
    for (int i = 0; i < 1500; ++i)
        temp.MakeFile("match" + std::to_string(i) + ".dat");
    std::vector<std::string> listed;
    framework::FileFind find;
    for (bool more = find.FindFile(temp.Path() + "*.dat"); more; more = find.FindNextFile())
        listed.push_back(find.GetFileName());
    Open();
    Set(IDC_SEARCH_FOLDER, temp.Path().c_str());
    Set(IDC_SEARCH_NAME, "*.dat");
    Search();
    EXPECT_EQ(ColumnTexts(ResultsList(), 0), listed);

    // Once the list shows rows while the search runs, Stop is pressed.
    Click(Results(), IDC_START_OVER);
    bool stopped = false;
    HWND list = ResultsList();
    ScopedOverride<decltype(framework::Clock::tickCount)> clock(framework::GetClock().tickCount, [&] {
        // The last search's rows are on show until the new one clears them.
        auto shown = static_cast<size_t>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        if (!stopped && shown >= 5 && shown < listed.size()) {
            ::EnumThreadWindows(
                ::GetCurrentThreadId(),
                [](HWND window, LPARAM pressed) {
                    if (HWND stop = ::GetDlgItem(window, IDC_STOP); stop && ::IsWindowVisible(window)) {
                        Press(stop);
                        *reinterpret_cast<bool*>(pressed) = true;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&stopped));
        }
        return ::GetTickCount();
    });
    Search();
    std::vector<std::string> kept = ColumnTexts(ResultsList(), 0);
    EXPECT_TRUE(stopped);
    EXPECT_GT(kept.size(), 0u);
    EXPECT_LT(kept.size(), listed.size());
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), listed.begin()));
}
