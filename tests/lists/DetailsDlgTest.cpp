#include "lists/DetailsDlg.h"

#include "framework/Text.h"
#include "resources/resource.h"

#include "support/HostPath.h"
#include "support/Messages.h"
#include "support/UserActions.h"

#include <gtest/gtest.h>

namespace {

std::string Library(const char* name)
{
    return HostPath(std::string(CORVANE_TEST_BINARY_DIR) + "/" + name + ".dll");
}

}  // namespace

TEST(VersionStrings, TheLatinTableWinsOverTheUnicodeOne)
{
    VersionStrings latin = ReadVersionStrings(Library("latin1"));
    EXPECT_EQ(latin.company, "Latin Company");
    EXPECT_EQ(latin.description, "Latin description");
    EXPECT_EQ(latin.productName, "Latin Product");
    EXPECT_EQ(latin.productVersion, "1.2.3");
    EXPECT_EQ(latin.internalName, "Latinint");
    EXPECT_EQ(latin.copyright, "Copyright Latin");
    EXPECT_EQ(latin.comments, "Latin comments");

    VersionStrings both = ReadVersionStrings(Library("both"));
    EXPECT_EQ(both.company, "Latin Company");
    EXPECT_EQ(both.comments, "Latin comments");

    VersionStrings unicode = ReadVersionStrings(Library("unicode"));
    EXPECT_EQ(unicode.company, "Unicode Company");
    EXPECT_EQ(unicode.productName, "");
}

TEST(VersionStrings, OtherLanguagesAndFilesWithoutVersionsGiveEmptyTexts)
{
    VersionStrings german = ReadVersionStrings(Library("german"));
    EXPECT_EQ(german.company, "");
    EXPECT_EQ(german.description, "");
    VersionStrings none = ReadVersionStrings("C:\\no such file.dll");
    EXPECT_EQ(none.company, "");
}

TEST(DetailsDlg, ShowsTheNameAndTheNineFields)
{
    std::string file = Library("both");
    std::vector<std::string> shown;
    bool readOnly = true;
    AfterDelay(200, [&] {
        HWND dialog = ::FindWindowA("#32770", "Details");
        ASSERT_TRUE(dialog);
        for (int id = IDC_DETAILS_FILENAME; id <= IDC_DETAILS_COMMENTS; ++id) {
            HWND field = ::GetDlgItem(dialog, id);
            shown.push_back(framework::GetWindowTextString(field));
            readOnly = readOnly && (::GetWindowLongA(field, GWL_STYLE) & ES_READONLY);
        }
        Press(dialog, IDOK);
    });
    CDetailsDlg details;
    details.SetFileName(file);
    EXPECT_EQ(details.DoModal(nullptr), IDOK);
    EXPECT_EQ(shown, (std::vector<std::string>{file, "Latin Company", "Latin description", "Latin Product", "1.2.3",
                                               "Latinint", "", "Copyright Latin", "Latin comments"}));
    EXPECT_TRUE(readOnly);
}
