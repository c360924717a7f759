#include "lists/ListActions.h"

#include "framework/FileFind.h"

#include "support/HostPath.h"
#include "support/Messages.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

HWND FindButton(HWND dialog, const char* text)
{
    return ::FindWindowExA(dialog, nullptr, "Button", text);
}

// Answers the shell's confirmations one by one, from the test's own thread.
class Responder {
public:
    explicit Responder(std::vector<const char*> answers) : m_answers(std::move(answers)) { Arm(); }
    size_t Answered() const { return m_answered; }

private:
    void Arm()
    {
        AfterDelay(100, [this] {
            if (m_answered < m_answers.size() && Answer())
                ++m_answered;
            if (m_answered < m_answers.size())
                Arm();
        });
    }
    bool Answer()
    {
        HWND found = nullptr;
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND hwnd, LPARAM result) {
                if (::IsWindowVisible(hwnd) && FindButton(hwnd, "&Yes")) {
                    *reinterpret_cast<HWND*>(result) = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        if (!found)
            return false;
        ::SendMessageA(FindButton(found, m_answers[m_answered]), BM_CLICK, 0, 0);
        return true;
    }

    std::vector<const char*> m_answers;
    size_t m_answered = 0;
};

bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string TrashFolder(const char* part)
{
    return HostPath(std::string(CORVANE_TEST_HOME) + "/.local/share/Trash/" + part + "/");
}

// The shell may add a suffix to a name already in the trash.
bool InTrash(const char* name)
{
    framework::FileFind find;
    return find.FindFile(TrashFolder("files") + name + "*");
}

// The test home's trash holds nothing but what the test puts there.
void EmptyTrash()
{
    for (const char* part : {"files", "info"}) {
        std::vector<std::string> paths;
        framework::FileFind find;
        for (bool more = find.FindFile(TrashFolder(part) + "*.*"); more; more = find.FindNextFile()) {
            if (!find.IsDirectory())
                paths.push_back(find.GetFilePath());
        }
        for (const std::string& path : paths)
            ::DeleteFileA(path.c_str());
    }
}

const char* const kNames[] = {"first.tmp", "second.tmp", "third.tmp"};

// Three files in a list, the first two selected.
class RecycleEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_window = ::CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                     nullptr, nullptr, nullptr);
        m_list = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 380, 280, m_window,
                                   nullptr, nullptr, nullptr);
        EmptyTrash();
        std::string folder = m_temp.Path().substr(0, m_temp.Path().size() - 1);
        for (int i = 0; i < 2; ++i) {
            LVCOLUMNA column{};
            column.mask = LVCF_WIDTH;
            column.cx = 150;
            ::SendMessageA(m_list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
        }
        for (int i = 0; i < 3; ++i) {
            m_temp.MakeFile(kNames[i], 100);
            LVITEMA item{};
            item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
            item.iItem = i;
            item.pszText = const_cast<char*>(kNames[i]);
            item.lParam = i + 1;
            item.stateMask = LVIS_SELECTED;
            item.state = i < 2 ? LVIS_SELECTED : 0;
            ::SendMessageA(m_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            LVITEMA cell{};
            cell.iSubItem = 1;
            cell.pszText = folder.data();
            ::SendMessageA(m_list, LVM_SETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&cell));
        }
    }
    void TearDown() override { ::DestroyWindow(m_window); }

    std::vector<std::string> Rows()
    {
        std::vector<std::string> rows;
        for (int row = 0; row < ::SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0); ++row)
            rows.push_back(ListCtrlGetItemText(m_list, row, 0));
        return rows;
    }

    TempFolder m_temp;
    HWND m_window = nullptr;
    HWND m_list = nullptr;
};

}  // namespace

TEST_F(RecycleEndToEnd, ConfirmedFilesGoToTheTrashAndOnlyTheirRowsGo)
{
    Responder responder({"&Yes"});
    ListCtrlDeleteSelectedFiles(m_list, false, "");

    EXPECT_EQ(responder.Answered(), 1u);
    EXPECT_EQ(Rows(), std::vector<std::string>{"third.tmp"});
    EXPECT_FALSE(Exists(m_temp.Path() + "first.tmp"));
    EXPECT_TRUE(Exists(m_temp.Path() + "third.tmp"));
    EXPECT_TRUE(InTrash("first.tmp"));
    EXPECT_TRUE(InTrash("second.tmp"));
    EXPECT_FALSE(InTrash("third.tmp"));
}

TEST_F(RecycleEndToEnd, RefusedConfirmationKeepsFilesAndRows)
{
    Responder responder({"&No"});
    ListCtrlDeleteSelectedFiles(m_list, false, "");

    EXPECT_EQ(responder.Answered(), 1u);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"first.tmp", "second.tmp", "third.tmp"}));
    EXPECT_TRUE(Exists(m_temp.Path() + "first.tmp"));
    EXPECT_FALSE(InTrash("first.tmp"));
}
