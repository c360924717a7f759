#include "cleanup/DllPage.h"

#include "app/Tabs.h"
#include "framework/FileFind.h"
#include "framework/Seams.h"
#include "framework/Text.h"
#include "lists/ListActions.h"
#include "resources/resource.h"

#include "support/HostPath.h"
#include "support/Messages.h"
#include "support/Override.h"
#include "support/Program.h"
#include "support/TempFolder.h"
#include "support/TestList.h"
#include "support/UserActions.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace {

class DllPageTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        char system[MAX_PATH];
        ::GetSystemDirectoryA(system, MAX_PATH);
        m_system = system;
        for (const char* tables : {"latin1", "both", "german"}) {
            std::string copy = m_system + "\\corvane-" + tables + ".dll";
            ::CopyFileA(HostPath(std::string(CORVANE_TEST_BINARY_DIR) + "/" + tables + ".dll").c_str(), copy.c_str(),
                        FALSE);
            m_copies.push_back(copy);
        }
        m_store.WriteProfileInt("Settings", "SkipDllPage1", 1);
        StartOn(kDllsTab, 1);
    }
    void TearDown() override
    {
        Close();
        for (const std::string& copy : m_copies)
            ::DeleteFileA(copy.c_str());
        ProgramTest::TearDown();
    }

    HWND List() { return ::GetDlgItem(Page(kDllsTab, 1), IDC_RESULTS_LIST); }
    int Row(const char* name)
    {
        std::vector<std::string> names = ColumnTexts(List(), 0);
        auto found = std::find(names.begin(), names.end(), name);
        return found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }
    void Click(int id) { Press(Page(kDllsTab, 1), id); }

    std::string m_system;
    std::vector<std::string> m_copies;
};

}  // namespace

TEST_F(DllPageTest, EveryLibraryOfTheSystemDirectoryWithItsMaker)
{
    int libraries = 0;
    framework::FileFind find;
    for (bool more = find.FindFile(m_system + "\\*.dll"); more; more = find.FindNextFile())
        ++libraries;
    EXPECT_EQ(::SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0), libraries);
    std::vector<std::string> descriptions = ColumnTexts(List(), 3);
    EXPECT_GT(std::count_if(descriptions.begin(), descriptions.end(), [](auto& text) { return !text.empty(); }), 100);

    int both = Row("corvane-both.dll");
    ASSERT_GE(both, 0);
    EXPECT_EQ(ShownText(List(), both, 3), "Latin description");
    EXPECT_EQ(ShownText(List(), both, 4), "Latin Company");
}

TEST_F(DllPageTest, RemovalAsksFirstAndActsOnTheSystemDirectory)
{
    SelectRow(List(), Row("corvane-both.dll"));
    SelectRow(List(), Row("corvane-latin1.dll"));
    PumpPending();

    // Details shows the first selected row, read from the system directory
    // even where the search order finds another library of that name first.
    TempFolder elsewhere;
    ::CopyFileA(HostPath(std::string(CORVANE_TEST_BINARY_DIR) + "/german.dll").c_str(),
                (elsewhere.Path() + "corvane-both.dll").c_str(), FALSE);
    char current[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, current);
    ::SetDllDirectoryA(elsewhere.Path().c_str());
    ::SetCurrentDirectoryA(elsewhere.Path().c_str());
    std::string shown;
    std::string company;
    AfterDelay(200, [&] {
        HWND details = ::FindWindowA("#32770", "Details");
        shown = framework::GetWindowTextString(::GetDlgItem(details, IDC_DETAILS_FILENAME));
        company = framework::GetWindowTextString(::GetDlgItem(details, IDC_DETAILS_COMPANY));
        ::PostMessageA(details ? details : ::GetActiveWindow(), WM_COMMAND, IDOK, 0);
    });
    Click(IDC_DETAILS);
    ::SetDllDirectoryA(nullptr);
    ::SetCurrentDirectoryA(current);
    EXPECT_EQ(shown, "corvane-both.dll");
    EXPECT_EQ(company, "Latin Company");

    int answer = IDNO;
    UINT icon = 0;
    ScopedOverride<decltype(framework::Seams::messageBox)> box(
        framework::GetSeams().messageBox, [&](HWND, const char* text, const char*, UINT type) {
            EXPECT_EQ(std::strncmp(text, "WARNING: Some DLLs", 18), 0);
            icon = type & MB_ICONMASK;
            return answer;
        });
    std::string removed;
    ScopedOverride<decltype(framework::Seams::fileOperation)> shell(
        framework::GetSeams().fileOperation, [&](SHFILEOPSTRUCTA& operation) {
            for (const char* path = operation.pFrom; *path; path += std::strlen(path) + 1) {
                removed += std::string(path) + ";";
                ::DeleteFileA(path);
            }
            return 0;
        });
    Click(IDC_RECYCLE);
    EXPECT_EQ(icon, UINT(MB_ICONSTOP));
    EXPECT_TRUE(removed.empty());
    answer = IDYES;
    Click(IDC_DELETE);
    EXPECT_EQ(removed, m_system + "\\corvane-both.dll;" + m_system + "\\corvane-latin1.dll;");
    EXPECT_EQ(Row("corvane-both.dll"), -1);
    EXPECT_EQ(Row("corvane-latin1.dll"), -1);
    EXPECT_GE(Row("corvane-german.dll"), 0);
}
