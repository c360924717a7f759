#include "framework/FileFind.h"
#include "framework/Handle.h"
#include "framework/Path.h"

#include "support/HostLink.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <set>

using framework::FileFind;
using framework::GetPathAttributes;
using framework::IsProtectedFolder;
using framework::WidePath;

namespace {

// A folder path of more than 300 characters below the temporary folder.
std::string DeepFolder()
{
    std::string folder;
    for (int i = 0; i < 8; ++i)
        folder += std::string(40, static_cast<char>('a' + i)) + "\\";
    return folder;
}

std::string Known(REFKNOWNFOLDERID id)
{
    framework::CoTaskMem<PWSTR> path;
    if (FAILED(::SHGetKnownFolderPath(id, 0, nullptr, path.put())))
        return {};
    return framework::NarrowText(path.get());
}

}  // namespace

TEST(Path, EveryNameComesBackTrueAtAnyDepth)
{
    TempFolder temp;
    for (const char* name : {"日本.txt", "Főtanúsítvány.crt", "ab.txt"})
        temp.MakeFile(name, 3);
    std::string deep = temp.MakeFile(DeepFolder() + "deep.bin", 7);
    ASSERT_GT(deep.size(), 300u);

    std::set<std::string> names;
    FileFind find;
    for (bool more = find.FindFile(temp.Path() + "*.*"); more; more = find.FindNextFile())
        names.insert(find.GetFileName());
    EXPECT_EQ(names,
              (std::set<std::string>{".", "..", "日本.txt", "Főtanúsítvány.crt", "ab.txt", std::string(40, 'a')}));
    // The names on disk are the true ones, not best-fit letters.
    EXPECT_EQ(::GetACP(), 65001u);
    EXPECT_NE(::GetFileAttributesW((WidePath(temp.Path()) + L"Főtanúsítvány.crt").c_str()), INVALID_FILE_ATTRIBUTES);

    std::string folder = deep.substr(0, deep.find_last_of('\\'));
    ASSERT_TRUE(find.FindFile(folder + "\\*.bin"));
    EXPECT_STREQ(find.GetFileName(), "deep.bin");
    EXPECT_EQ(find.GetLength(), 7u);
    EXPECT_EQ(find.GetFilePath(), deep);
    EXPECT_EQ(GetPathAttributes(deep), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_TRUE(GetPathAttributes(folder) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetPathAttributes(folder + "\\missing.bin"), INVALID_FILE_ATTRIBUTES);
}

TEST(Path, LongPathsTakeTheLiteralForm)
{
    std::string tail(300, 'x');
    EXPECT_EQ(WidePath("C:\\short\\name.txt"), L"C:\\short\\name.txt");
    EXPECT_EQ(WidePath("C:\\a/b\\..\\" + tail), L"\\\\?\\C:\\a\\" + std::wstring(300, L'x'));
    EXPECT_EQ(WidePath("\\\\server\\share\\" + tail), L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L'x'));
    EXPECT_EQ(WidePath("\\\\?\\C:\\" + tail), L"\\\\?\\C:\\" + std::wstring(300, L'x'));
}

TEST(Path, NamesEndingInADotOrASpaceAndLinksAreToldApart)
{
    TempFolder temp;
    TempFolder outside;
    for (const char* name : {"victim", "victim.", "space", "space ", "data\\f", "data.\\f", "Mixed.txt"})
        temp.MakeFile(name, 1);
    std::string dotted = temp.Path() + "victim.";
    EXPECT_EQ(WidePath(dotted), L"\\\\?\\" + framework::WideText(dotted));
    EXPECT_TRUE(framework::HasNameTheShellWouldChange(dotted));
    EXPECT_TRUE(framework::HasNameTheShellWouldChange(temp.Path() + "data.\\f"));
    EXPECT_TRUE(framework::HasNameTheShellWouldChange(temp.Path() + "space "));
    EXPECT_FALSE(framework::HasNameTheShellWouldChange(temp.Path() + "a.b\\c.txt"));
    // The literal form reaches the true file, not the one the plain form names.
    ASSERT_TRUE(::DeleteFileW(WidePath(dotted).c_str()));
    EXPECT_NE(GetPathAttributes(temp.Path() + "victim"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetPathAttributes(dotted), INVALID_FILE_ATTRIBUTES);

    EXPECT_TRUE(framework::ExistsExactly(temp.Path() + "Mixed.txt"));
    EXPECT_FALSE(framework::ExistsExactly(temp.Path() + "mixed.txt"));
    EXPECT_NE(GetPathAttributes(temp.Path() + "mixed.txt"), INVALID_FILE_ATTRIBUTES);

    std::string deep = temp.MakeFile(DeepFolder() + "deep.bin");
    for (const std::string& own : {temp.Path() + "space ", temp.Path() + "data.", temp.Path() + "data.\\f", deep})
        EXPECT_FALSE(framework::ReachesElsewhere(own)) << own;
    std::string target = outside.MakeFile("target.txt", 3);
    HostLink fileLink(target, temp.Path() + "file-link");
    HostLink folderLink(outside.Path(), temp.Path() + "folder-link");
    ASSERT_TRUE(fileLink.Made() && folderLink.Made());
    for (const char* link : {"file-link", "folder-link", "missing"})
        EXPECT_TRUE(framework::ReachesElsewhere(temp.Path() + link)) << link;
}

TEST(Path, SystemAndProfileFoldersAreProtected)
{
    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    std::string profile = Known(FOLDERID_Profile);
    std::string profiles = Known(FOLDERID_UserProfiles);
    for (const std::string& folder :
         {std::string("C:\\"), std::string("E:\\"), std::string(windows), std::string(windows) + "\\SYSTEM32\\",
          std::string(windows) + "\\system32\\drivers\\..", Known(FOLDERID_ProgramFiles), profile, profiles,
          profiles + "\\Public", profile + "\\..", std::string("C:\\missing-folder"), Known(FOLDERID_ProgramData),
          Known(FOLDERID_RoamingAppData), Known(FOLDERID_LocalAppData), std::string("\\\\localhost\\C$\\Windows"),
          std::string("\\\\server\\c$"), std::string("\\\\localhost\\ADMIN$")})
        EXPECT_TRUE(IsProtectedFolder(folder)) << folder;

    TempFolder temp;
    temp.MakeFolder("cache");
    EXPECT_FALSE(IsProtectedFolder(temp.Path() + "cache"));
    EXPECT_FALSE(IsProtectedFolder(std::string(windows) + "\\system32\\drivers"));
    TempFolder inAppData(Known(FOLDERID_LocalAppData) + "\\corvane-test-cache\\");
    EXPECT_FALSE(IsProtectedFolder(inAppData.Path()));
    // An administrative share is judged as the drive it reaches.
    TempFolder onE("E:\\corvane-share-test\\");
    EXPECT_FALSE(IsProtectedFolder("\\\\localhost\\E$\\corvane-share-test"));

    EXPECT_TRUE(framework::IsFullPath("c:/cache"));
    EXPECT_TRUE(framework::IsFullPath("\\\\server\\share"));
    for (const char* relative : {"cache", "C:cache", "\\cache", ""})
        EXPECT_FALSE(framework::IsFullPath(relative)) << relative;
}
