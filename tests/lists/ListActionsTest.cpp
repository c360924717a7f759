#include "lists/ListActions.h"

#include "framework/Path.h"
#include "framework/Seams.h"
#include "lists/FileText.h"

#include "support/HostLink.h"
#include "support/Messages.h"
#include "support/Override.h"
#include "support/TempFolder.h"
#include "support/TestList.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

using framework::GetPathAttributes;
using framework::GetSeams;
using framework::Seams;

namespace {

// A list with the columns FileName, Folder and Size.
class ListActionsTest : public ::testing::Test {
protected:
    void AddRow(const std::string& name, const std::string& folder, std::uint64_t size = 0)
    {
        m_rows.AddRow({name, folder}, false, size);
    }
    void Select(int row) { SelectRow(m_list, row); }
    std::vector<std::string> Column(int column) { return ColumnTexts(m_list, column); }

    // Every message box is answered Yes, and its text kept in m_told.
    void AnswerYes()
    {
        m_box.emplace(GetSeams().messageBox, [this](HWND, const char* text, const char*, UINT) {
            m_told.push_back(text);
            return IDYES;
        });
    }

    std::vector<std::string> m_told;
    std::optional<ScopedOverride<decltype(Seams::messageBox)>> m_box;
    TestList m_rows{{150, 150, 150}, 2};
    HWND m_list = m_rows.List().GetSafeHwnd();
    HWND m_window = m_rows.GetSafeHwnd();
};

using Texts = std::vector<std::string>;

}  // namespace

TEST_F(ListActionsTest, SizeColumnsSortByBytesAndTextColumnsWithoutCase)
{
    AddRow("beta.txt", "C:\\b", 1024);
    AddRow("Alpha.txt", "C:\\a", 2 * 1024 * 1024);
    AddRow("gamma.txt", "C:\\c", 900);
    AddRow("ALPHA.log", "C:\\d", 1030);
    Select(1);

    CFileList& list = m_rows.List();
    ListCtrlSortItems(list, 2, SortKind::Size, true);
    EXPECT_EQ(Column(2), (Texts{"2.00 M", "1.0 K", "1.0 K", "900 bytes"}));
    EXPECT_EQ(Column(0)[1], "ALPHA.log");  // by bytes, not by text
    ListCtrlSortItems(list, 2, SortKind::Size, false);
    EXPECT_EQ(Column(2), (Texts{"900 bytes", "1.0 K", "1.0 K", "2.00 M"}));

    ListCtrlSortItems(list, 0, SortKind::Text, true);
    EXPECT_EQ(Column(0), (Texts{"ALPHA.log", "Alpha.txt", "beta.txt", "gamma.txt"}));
    ListCtrlSortItems(list, 0, SortKind::Text, false);
    EXPECT_EQ(Column(0), (Texts{"gamma.txt", "beta.txt", "Alpha.txt", "ALPHA.log"}));
    // The rows move whole, and the selection with them.
    EXPECT_EQ(Column(1), (Texts{"C:\\c", "C:\\b", "C:\\a", "C:\\d"}));
    EXPECT_EQ(list.Selected(), std::vector<size_t>{2});
}

TEST_F(ListActionsTest, LongCellsAreReadWhole)
{
    std::string name(1000, 'n');
    AddRow(name, "C:\\x");
    EXPECT_EQ(ShownText(m_list, 0, 0), name);
}

TEST_F(ListActionsTest, OpeningAFileWithoutAProgramOffersNotepad)
{
    TempFolder temp;
    const std::string other = temp.MakeFile("other.xyz");
    AddRow("notes.xyz", temp.Path().substr(0, temp.Path().size() - 1));
    AddRow("other.xyz", temp.Path().substr(0, temp.Path().size() - 1));
    Select(1);
    std::vector<std::string> calls;
    int answer = IDNO;
    INT_PTR result = 31;
    ScopedOverride<decltype(Seams::shellExecute)> shell(
        GetSeams().shellExecute,
        [&](HWND, const char* verb, const char* file, const char* parameters, const char*, int) {
            calls.push_back(std::string(verb) + " " + file + (parameters ? std::string(" ") + parameters : ""));
            return result;
        });
    ScopedOverride<decltype(Seams::messageBox)> box(GetSeams().messageBox,
                                                    [&](HWND, const char* text, const char*, UINT type) {
                                                        calls.push_back(std::string("ask ") + text);
                                                        EXPECT_EQ(type, UINT(MB_YESNO | MB_ICONQUESTION));
                                                        return answer;
                                                    });

    ListCtrlOpenSelectedFile(m_window, m_rows.List());
    EXPECT_EQ(calls, (Texts{"open " + other,
                            "ask There is no program configured to view this file type.  Would you like to view it "
                            "using Notepad?"}));

    calls.clear();
    answer = IDYES;
    ListCtrlOpenSelectedFile(m_window, m_rows.List());
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[2], "open " + framework::SystemProgram("notepad.exe") + " " + other);

    calls.clear();
    result = 42;
    ListCtrlOpenSelectedFile(m_window, m_rows.List());
    EXPECT_EQ(calls, (Texts{"open " + other}));
}

TEST_F(ListActionsTest, DeletingRemovesExactlyTheRowsWhoseFilesAreGone)
{
    TempFolder temp;
    std::string folder = temp.Path().substr(0, temp.Path().size() - 1);
    for (const char* name : {"a.tmp", "b.tmp", "c.tmp", "d.tmp"}) {
        temp.MakeFile(name, 10);
        AddRow(name, folder);
    }
    // A row without its folder names no file: it is never handed to the shell.
    AddRow("e.tmp", "");
    Select(0);
    Select(1);
    Select(3);
    Select(4);

    std::string list;
    std::string message;
    ScopedOverride<decltype(Seams::messageBox)> box(GetSeams().messageBox,
                                                    [&](HWND, const char* text, const char*, UINT) {
                                                        message = text;
                                                        return IDOK;
                                                    });
    FILEOP_FLAGS flags = 0xFFFF;
    // The shell removes two of the three and then reports a cancel.
    ScopedOverride<decltype(Seams::fileOperation)> shell(GetSeams().fileOperation, [&](SHFILEOPSTRUCTA& operation) {
        EXPECT_EQ(operation.wFunc, UINT(FO_DELETE));
        flags = operation.fFlags;
        const char* end = operation.pFrom;
        while (*end)
            end += std::strlen(end) + 1;
        list.assign(operation.pFrom, end + 1);
        ::DeleteFileA((temp.Path() + "a.tmp").c_str());
        ::DeleteFileA((temp.Path() + "d.tmp").c_str());
        return 1223;
    });
    EXPECT_EQ(ListCtrlDeleteSelectedFiles(m_rows.List(), false), (Texts{temp.Path() + "a.tmp", temp.Path() + "d.tmp"}));

    EXPECT_EQ(message, "Corvane left these files alone:\n\n\\e.tmp (it does not name a whole path)\n");
    EXPECT_EQ(flags, FOF_ALLOWUNDO);
    EXPECT_EQ(list, temp.Path() + "a.tmp" + '\0' + temp.Path() + "b.tmp" + '\0' + temp.Path() + "d.tmp" + '\0' + '\0');
    EXPECT_EQ(Column(0), (Texts{"b.tmp", "c.tmp", "e.tmp"}));
    // The refused file stays selected, and nothing else is.
    EXPECT_EQ(m_rows.List().Selected(), (std::vector<size_t>{0, 2}));

    // A folder prefix names the files by column 0 alone; permanent means no undo.
    SelectRow(m_list, -1, false);
    Select(0);
    ScopedOverride<decltype(Seams::fileOperation)> remove(GetSeams().fileOperation, [&](SHFILEOPSTRUCTA& operation) {
        flags = operation.fFlags;
        list = operation.pFrom;
        ::DeleteFileA(operation.pFrom);
        return 0;
    });
    m_rows.List().SetFolderPrefix(temp.Path());
    ListCtrlDeleteSelectedFiles(m_rows.List(), true);
    EXPECT_EQ(flags, 0);
    EXPECT_EQ(list, temp.Path() + "b.tmp");
    EXPECT_EQ(Column(0), (Texts{"c.tmp", "e.tmp"}));
}

TEST(SystemImageList, IsTheShellsAndGivesFileIcons)
{
    HIMAGELIST images = GetSysImageList();
    ASSERT_TRUE(images);
    EXPECT_EQ(GetSysImageList(), images);
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    EXPECT_EQ(width, ::GetSystemMetrics(SM_CXSMICON));
    EXPECT_GE(GetFileIconIndex("C:\\windows\\notepad.exe"), 0);
    ReleaseSysImageList();
    // Detaching never destroyed the shell's list.
    EXPECT_GT(ImageList_GetImageCount(images), 0);
}

TEST_F(ListActionsTest, OnlyRowsNamingOneExistingFileReachTheShellAndDeepFilesAreAskedFor)
{
    TempFolder temp;
    std::string folder = temp.Path().substr(0, temp.Path().size() - 1);
    for (const char* name : {"ab.txt", "cd.txt"})
        temp.MakeFile(name);
    temp.MakeFolder("ef.txt");
    std::string deepFolder = temp.Path() + std::string(150, 'd') + "\\" + std::string(150, 'e');
    temp.MakeFile(deepFolder.substr(temp.Path().size()) + "\\deep.txt", 5);
    AddRow("??.txt", folder);
    AddRow("ef.txt", folder);
    AddRow("deep.txt", deepFolder);
    SelectRow(m_list, -1);

    int shellCalls = 0;
    ScopedOverride<decltype(Seams::fileOperation)> shell(GetSeams().fileOperation, [&](SHFILEOPSTRUCTA&) {
        ++shellCalls;
        return 0;
    });
    AnswerYes();
    // Recycling: the wildcard and the folder are refused, and the deep file
    // is never deleted for good instead.
    EXPECT_TRUE(ListCtrlDeleteSelectedFiles(m_rows.List(), false).empty());
    EXPECT_EQ(shellCalls, 0);
    ASSERT_EQ(m_told.size(), 1u);
    EXPECT_EQ(m_told[0], "Corvane left these files alone:\n\n" + temp.Path() +
                             "??.txt (its name holds a wildcard character)\n" + temp.Path() +
                             "ef.txt (it is a folder)\n" + deepFolder +
                             "\\deep.txt (its path is too long for the Recycle Bin)\n");
    EXPECT_EQ(Column(0).size(), 3u);

    // Deleting: the deep file goes after a question of our own.
    m_told.clear();
    EXPECT_EQ(ListCtrlDeleteSelectedFiles(m_rows.List(), true), Texts{deepFolder + "\\deep.txt"});
    EXPECT_EQ(shellCalls, 0);
    ASSERT_EQ(m_told.size(), 2u);
    EXPECT_EQ(m_told[1].rfind("Delete these permanently?", 0), 0u);
    EXPECT_EQ(Column(0), (Texts{"??.txt", "ef.txt"}));
    for (const char* name : {"ab.txt", "cd.txt", "ef.txt"})
        EXPECT_NE(::GetFileAttributesA((temp.Path() + name).c_str()), INVALID_FILE_ATTRIBUTES) << name;
}

TEST_F(ListActionsTest, AFolderRowGoesWholeAfterTheShellsQuestionButNeverARootOrSystemFolder)
{
    TempFolder temp;
    std::string folder = temp.Path().substr(0, temp.Path().size() - 1);
    temp.MakeFile("keep\\inner.txt", 5);
    temp.MakeFile("other.txt", 5);
    ListModel& rows = m_rows.List().Rows();
    rows.Add({"keep", folder}, 5, RowPlace::End, RowKind::FolderRow);
    rows.Add({"inner.txt", folder + "\\keep"}, 5);
    rows.Add({"other.txt", folder}, 5);
    rows.Add({"", "C:"}, 0, RowPlace::End, RowKind::FolderRow);
    rows.Add({"windows", "C:"}, 0, RowPlace::End, RowKind::FolderRow);
    m_rows.List().Show();
    for (int row : {0, 1, 3, 4})
        Select(row);

    std::string handed;
    FILEOP_FLAGS flags = 0xFFFF;
    ScopedOverride<decltype(Seams::fileOperation)> shell(GetSeams().fileOperation, [&](SHFILEOPSTRUCTA& operation) {
        const char* end = operation.pFrom;
        while (*end)
            end += std::strlen(end) + 1;
        handed.assign(operation.pFrom, end + 1);
        flags = operation.fFlags;
        ::DeleteFileA((temp.Path() + "keep\\inner.txt").c_str());
        ::RemoveDirectoryA((temp.Path() + "keep").c_str());
        return 0;
    });
    std::string message;
    ScopedOverride<decltype(Seams::messageBox)> box(GetSeams().messageBox,
                                                    [&](HWND, const char* text, const char*, UINT) {
                                                        message = text;
                                                        return IDOK;
                                                    });
    EXPECT_EQ(ListCtrlDeleteSelectedFiles(m_rows.List(), false),
              (Texts{temp.Path() + "keep", temp.Path() + "keep\\inner.txt"}));
    // Exactly the folder, not the file inside it once more, and the shell asks.
    EXPECT_EQ(handed, temp.Path() + "keep" + '\0' + '\0');
    EXPECT_EQ(flags, FOF_ALLOWUNDO);
    const char* why = " (it is a drive root, or a Windows, program or profile folder)\n";
    EXPECT_EQ(message, std::string("Corvane left these files alone:\n\nC:\\") + why + "C:\\windows" + why);
    EXPECT_EQ(Column(0), (Texts{"other.txt", "", "windows"}));
}

TEST_F(ListActionsTest, NamesEndingInADotOrASpaceAreActedOnTrulyOrRefused)
{
    TempFolder temp;
    std::string folder = temp.Path().substr(0, temp.Path().size() - 1);
    for (const char* name : {"victim", "victim.", "space", "space ", "data\\f", "data.\\f"})
        temp.MakeFile(name, 1);
    AddRow("victim.", folder);
    AddRow("space ", folder);
    m_rows.List().Rows().Add({"data.", folder}, 1, RowPlace::End, RowKind::FolderRow);
    m_rows.List().Show();
    SelectRow(m_list, -1);

    int shellCalls = 0;
    ScopedOverride<decltype(Seams::fileOperation)> shell(GetSeams().fileOperation, [&](SHFILEOPSTRUCTA&) {
        ++shellCalls;
        return 0;
    });
    ScopedOverride<decltype(Seams::shellExecute)> run(
        GetSeams().shellExecute, [&](HWND, const char*, const char*, const char*, const char*, int) {
            ++shellCalls;
            return INT_PTR(42);
        });
    AnswerYes();
    // The shell would recycle or open "victim", "space" and "data" instead.
    EXPECT_TRUE(ListCtrlDeleteSelectedFiles(m_rows.List(), false).empty());
    ListCtrlOpenSelectedFile(m_window, m_rows.List());
    EXPECT_EQ(shellCalls, 0);
    ASSERT_EQ(m_told.size(), 2u);
    EXPECT_NE(m_told[0].find("space  (its name ends in a dot or a space"), std::string::npos);
    EXPECT_NE(m_told[1].find("victim. (its name ends in a dot or a space"), std::string::npos);

    m_told.clear();
    EXPECT_EQ(ListCtrlDeleteSelectedFiles(m_rows.List(), true),
              (Texts{temp.Path() + "victim.", temp.Path() + "space ", temp.Path() + "data."}));
    ASSERT_EQ(m_told.size(), 1u);
    EXPECT_EQ(m_told[0].rfind("Delete these permanently?", 0), 0u);
    EXPECT_TRUE(Column(0).empty());
    for (const char* name : {"victim", "space", "data\\f"})
        EXPECT_NE(::GetFileAttributesA((temp.Path() + name).c_str()), INVALID_FILE_ATTRIBUTES) << name;
    for (const char* name : {"victim.", "space ", "data."})
        EXPECT_EQ(GetPathAttributes(temp.Path() + name), INVALID_FILE_ATTRIBUTES) << name;
}

TEST_F(ListActionsTest, APermanentDeleteNeverFollowsALink)
{
    TempFolder temp;
    TempFolder outside;
    std::string folder = temp.Path().substr(0, temp.Path().size() - 1);
    std::string kept = outside.MakeFile("keep\\precious.txt", 5);
    temp.MakeFile("old\\inner\\file.txt", 5);
    HostLink folderLink(outside.Path() + "keep", temp.Path() + "old\\inner\\linked");
    HostLink fileLink(kept, temp.Path() + "old\\precious-link.txt");
    HostLink rowLink(kept, temp.Path() + "row-link.txt");
    ASSERT_TRUE(folderLink.Made() && fileLink.Made() && rowLink.Made());
    m_rows.List().Rows().Add({"old", folder}, 10, RowPlace::End, RowKind::FolderRow);
    AddRow("row-link.txt", folder);
    SelectRow(m_list, -1);

    AnswerYes();
    ListCtrlDeleteSelectedFiles(m_rows.List(), true);
    EXPECT_NE(::GetFileAttributesA(kept.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetPathAttributes(temp.Path() + "old\\inner\\file.txt"), INVALID_FILE_ATTRIBUTES);
    ASSERT_FALSE(m_told.empty());
    EXPECT_NE(m_told[0].find("row-link.txt (it is a link this system follows"), std::string::npos);
}

TEST_F(ListActionsTest, AFileGoneBesideOneNamedWithOtherCaseCountsAsGone)
{
    TempFolder temp;
    std::string upper = temp.MakeFile("A.txt", 1);
    ASSERT_TRUE(RunOnHost("/bin/cp", "\"" + UnixPath(upper) + "\" \"" + UnixPath(temp.Path()) + "/a.txt\"",
                          [&] { return framework::ExistsExactly(temp.Path() + "a.txt"); }));
    AddRow("a.txt", temp.Path().substr(0, temp.Path().size() - 1));
    SelectRow(m_list, -1);
    ScopedOverride<decltype(Seams::fileOperation)> shell(GetSeams().fileOperation, [&](SHFILEOPSTRUCTA& operation) {
        ::DeleteFileA(operation.pFrom);
        return 0;
    });
    ScopedOverride<decltype(Seams::messageBox)> box(GetSeams().messageBox,
                                                    [&](HWND, const char*, const char*, UINT) { return IDOK; });
    EXPECT_EQ(ListCtrlDeleteSelectedFiles(m_rows.List(), true), Texts{temp.Path() + "a.txt"});
    EXPECT_TRUE(framework::ExistsExactly(upper));
}
