#include "cleanup/ShellLink.h"
#include "cleanup/StartMenuPages.h"

#include "app/Tabs.h"
#include "framework/FileFind.h"
#include "framework/Handle.h"
#include "framework/Seams.h"
#include "resources/resource.h"

#include "support/Messages.h"
#include "support/Override.h"
#include "support/Program.h"
#include "support/ScriptedSink.h"
#include "support/SmallStack.h"
#include "support/TempFolder.h"
#include "support/TestList.h"
#include "support/UserActions.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <fstream>

namespace {

std::string ShellFolder(int id)
{
    char path[MAX_PATH] = "";
    ::SHGetFolderPathA(nullptr, id, nullptr, 0, path);
    return path;
}

void MakeShortcut(const std::string& path, const std::string& target)
{
    framework::ComPtr<IShellLinkA> link;
    ASSERT_TRUE(
        SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.put())));
    link->SetPath(target.c_str());
    framework::ComPtr<IPersistFile> file;
    link->QueryInterface(IID_IPersistFile, file.put());
    wchar_t wide[MAX_PATH];
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    EXPECT_TRUE(SUCCEEDED(file->Save(wide, TRUE))) << path;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Broken(const std::string& folder, bool skipRemovable, int* notLocated = nullptr)
{
    std::vector<std::string> names;
    ScriptedSink progress;
    ShortcutCheck check(
        skipRemovable, [&](const BrokenShortcut& s) { names.push_back(s.name + "|" + s.target); },
        [&] {
            if (notLocated)
                ++*notLocated;
        });
    check.Walk(folder, progress);
    std::sort(names.begin(), names.end());
    return names;
}

class ShortcutTest : public ::testing::Test {
protected:
    framework::ComScope m_com;
    TempFolder m_temp;
    std::string m_folder = m_temp.Path().substr(0, m_temp.Path().size() - 1);
};

}  // namespace

TEST_F(ShortcutTest, OnlyLinksAreCheckedWhateverTheirCase)
{
    MakeShortcut(m_temp.Path() + "OLD.LNK", "C:\\gone\\old.exe");
    MakeShortcut(m_temp.Path() + "fine.lnk", "C:\\windows");
    MakeShortcut(m_temp.MakeFolder("zz") + "last.lnk", "C:\\gone\\last.exe");
    ::CopyFileA((m_temp.Path() + "OLD.LNK").c_str(), (m_temp.Path() + "x.lnk.txt").c_str(), FALSE);
    EXPECT_EQ(Broken(m_folder, true),
              (std::vector<std::string>{"OLD.LNK|C:\\gone\\old.exe", "last.lnk|C:\\gone\\last.exe"}));
    int notLocated = 0;
    Broken(m_folder + "\\missing", true, &notLocated);
    EXPECT_EQ(notLocated, 1);
}

TEST_F(ShortcutTest, ATreeDeeperThanTheStackIsWalkedWhole)
{
    std::string deep;
    for (int level = 0; level < kDeeperThanTheStack; ++level)
        deep += "d\\";
    m_temp.MakeFolder(deep.substr(0, deep.size() - 1));
    MakeShortcut(m_temp.Path() + "z.lnk", "C:\\gone\\z.exe");
    ScriptedSink progress;
    std::vector<std::string> found;
    bool completed = false;
    OnSmallStack([&] {
        framework::ComScope com;
        ShortcutCheck check(
            true, [&](const BrokenShortcut& s) { found.push_back(s.name); }, [] {});
        completed = check.Walk(m_folder, progress);
    });
    EXPECT_TRUE(completed);
    EXPECT_EQ(progress.steps, kDeeperThanTheStack);
    EXPECT_EQ(found, std::vector<std::string>{"z.lnk"});
}

TEST_F(ShortcutTest, TargetsAreTestedExpandedAndRemovableDrivesMaySkip)
{
    EXPECT_FALSE(IsBrokenTarget("%WINDIR%\\notepad.exe", true));
    EXPECT_TRUE(IsBrokenTarget("%WINDIR%\\no such program.exe", true));
    EXPECT_FALSE(IsBrokenTarget("", true));
    EXPECT_TRUE(IsBrokenTarget("D:\\missing.txt", false));
    EXPECT_FALSE(IsBrokenTarget("D:\\missing.txt", true));
    EXPECT_TRUE(IsBrokenTarget("\\\\server\\share\\missing.txt", true));
}

TEST_F(ShortcutTest, AutoFixChangesTheShortcutOnlyOnYes)
{
    std::string shortcut = m_temp.Path() + "moved.lnk";
    MakeShortcut(shortcut, "C:\\gone\\tool.exe");
    std::string before = ReadBytes(shortcut);

    ScopedOverride<decltype(framework::Seams::resolveShellLink)> resolve(framework::GetSeams().resolveShellLink,
                                                                         [](IShellLinkA& link, HWND, DWORD flags) {
                                                                             EXPECT_EQ(flags & SLR_UPDATE, 0u);
                                                                             link.SetPath("C:\\windows\\notepad.exe");
                                                                             return true;
                                                                         });
    int answer = IDNO;
    std::string asked;
    ScopedOverride<decltype(framework::Seams::messageBox)> box(framework::GetSeams().messageBox,
                                                               [&](HWND, const char* text, const char*, UINT) {
                                                                   asked = text;
                                                                   return answer;
                                                               });
    AutoFixShortcut(nullptr, shortcut);
    EXPECT_NE(asked.find("has moved to:\nC:\\windows\\notepad.exe\n"), std::string::npos) << asked;
    EXPECT_EQ(ReadBytes(shortcut), before);

    answer = IDYES;
    AutoFixShortcut(nullptr, shortcut);
    ShellLink fixed;
    ASSERT_TRUE(fixed.Load(shortcut));
    EXPECT_EQ(fixed.GetPath(), "C:\\windows\\notepad.exe");

    // A shortcut we may not write is never fixed in silence.
    std::string locked = m_temp.Path() + "locked.lnk";
    MakeShortcut(locked, "C:\\gone\\tool.exe");
    before = ReadBytes(locked);
    framework::KernelHandle reader(
        ::CreateFileA(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    AutoFixShortcut(nullptr, locked);
    reader.reset();
    EXPECT_EQ(ReadBytes(locked), before);
    EXPECT_EQ(asked,
              "Corvane could not update the shortcut:\n" + locked + "\nYou may not have the rights to change it.");
}

// The page on the test prefix's own Start Menu and Desktop folders.
class StartMenuPageTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        m_menu = ShellFolder(CSIDL_STARTMENU) + "\\Corvane Test";
        ::CreateDirectoryA(m_menu.c_str(), nullptr);
        StartOn(kStartMenuTab, 0);
    }
    void TearDown() override
    {
        Close();
        for (const std::string& path : m_made)
            ::DeleteFileA(path.c_str());
        ::RemoveDirectoryA(m_menu.c_str());
        ProgramTest::TearDown();
    }

    void Make(const std::string& path, const char* target)
    {
        MakeShortcut(path, target);
        m_made.push_back(path);
    }
    // Next on the introduction with the two options as given.
    void Scan(bool skipRemovable, bool desktop)
    {
        HWND intro = Page(kStartMenuTab, 0);
        ::CheckDlgButton(intro, IDC_SKIP_CDROM, skipRemovable ? BST_CHECKED : BST_UNCHECKED);
        ::CheckDlgButton(intro, IDC_CHECK_DESKTOP, desktop ? BST_CHECKED : BST_UNCHECKED);
        Press(intro, IDC_NEXT);
        PumpUntil([&] { return View().GetCurrentPage() == View().GetPage(kStartMenuTab, 1); });
        PumpPending();
    }
    HWND Results() { return Page(kStartMenuTab, 1); }
    HWND List() { return ::GetDlgItem(Results(), IDC_RESULTS_LIST); }
    bool Enabled(int id) { return ::IsWindowEnabled(::GetDlgItem(Results(), id)) != FALSE; }

    framework::ComScope m_com;
    std::string m_menu;
    std::vector<std::string> m_made;
};

TEST_F(StartMenuPageTest, NewestFindOnTopAndTheDesktopOnlyWhenAsked)
{
    HWND intro = Page(kStartMenuTab, 0);
    EXPECT_TRUE(::IsDlgButtonChecked(intro, IDC_SKIP_CDROM));
    EXPECT_TRUE(::IsDlgButtonChecked(intro, IDC_CHECK_DESKTOP));

    Scan(true, true);
    EXPECT_EQ(ColumnTexts(List(), 0), std::vector<std::string>{"No problems detected!"});
    EXPECT_EQ(::SendMessageA(List(), LVM_GETCOLUMNWIDTH, 0, 0), 256);
    SelectRow(List(), 0);
    PumpPending();
    EXPECT_FALSE(Enabled(IDC_RECYCLE));
    EXPECT_FALSE(Enabled(IDC_AUTOFIX));

    Press(Results(), IDC_START_OVER);
    PumpPending();
    Make(m_menu + "\\a.lnk", "C:\\gone\\a.exe");
    Make(ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\desk.lnk", "C:\\gone\\desk.exe");
    Make(m_menu + "\\b.lnk", "C:\\gone\\b.exe");
    Make(m_menu + "\\cd.lnk", "D:\\gone.exe");
    Scan(false, false);
    std::vector<std::string> names = ColumnTexts(List(), 0);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_LT(std::find(names.begin(), names.end(), "b.lnk"), std::find(names.begin(), names.end(), "a.lnk"));
    EXPECT_EQ(std::count(names.begin(), names.end(), "cd.lnk"), 1);

    Press(Results(), IDC_START_OVER);
    PumpPending();
    Scan(true, true);
    names = ColumnTexts(List(), 0);
    EXPECT_EQ(names.size(), 3u);
    EXPECT_EQ(std::count(names.begin(), names.end(), "desk.lnk"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), "cd.lnk"), 0);
    SelectRow(List(), 0);
    SelectRow(List(), 1);
    PumpPending();
    EXPECT_TRUE(Enabled(IDC_RECYCLE));
    EXPECT_FALSE(Enabled(IDC_AUTOFIX));
}

TEST_F(StartMenuPageTest, TheAllUsersStartMenuIsCheckedToo)
{
    std::string common = ShellFolder(CSIDL_COMMON_STARTMENU) + "\\Corvane Test";
    // A run cut short may have left the folder behind.
    ASSERT_TRUE(::CreateDirectoryA(common.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
    Make(common + "\\gone.lnk", "C:\\gone\\gone.exe");
    Make(common + "\\fine.lnk", "C:\\windows");
    Scan(true, false);
    EXPECT_EQ(ColumnTexts(List(), 0), std::vector<std::string>{"gone.lnk"});
    EXPECT_EQ(ColumnTexts(List(), 1), std::vector<std::string>{common});
    // The program may still hold the shortcuts it read: close it first.
    Close();
    for (const std::string& path : m_made)
        ::DeleteFileA(path.c_str());
    EXPECT_TRUE(::RemoveDirectoryA(common.c_str()));
}
