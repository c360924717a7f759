#include "lists/ListActions.h"

#include "framework/FileFind.h"

#include "support/HostPath.h"
#include "support/Messages.h"
#include "support/TempFolder.h"
#include "support/TestList.h"
#include "support/UserActions.h"

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
        Press(FindButton(found, m_answers[m_answered]));
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
        EmptyTrash();
        std::string folder = m_temp.Path().substr(0, m_temp.Path().size() - 1);
        for (int i = 0; i < 3; ++i) {
            m_temp.MakeFile(kNames[i], 100);
            m_rows.AddRow({kNames[i], folder}, i < 2);
        }
    }

    std::vector<std::string> Rows() { return ColumnTexts(m_list, 0); }

    TempFolder m_temp;
    TestList m_rows{{150, 150}};
    HWND m_list = m_rows.List().GetSafeHwnd();
    CFileList& m_files = m_rows.List();
};

}  // namespace

TEST_F(RecycleEndToEnd, ConfirmedFilesGoToTheTrashAndOnlyTheirRowsGo)
{
    Responder responder({"&Yes"});
    ListCtrlDeleteSelectedFiles(m_files, false);

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
    ListCtrlDeleteSelectedFiles(m_files, false);

    EXPECT_EQ(responder.Answered(), 1u);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"first.tmp", "second.tmp", "third.tmp"}));
    EXPECT_TRUE(Exists(m_temp.Path() + "first.tmp"));
    EXPECT_FALSE(InTrash("first.tmp"));
}
