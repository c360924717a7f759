#include "settings/SettingsStore.h"

#include "support/Registry.h"

#include <windows.h>

namespace {

const SettingsStore& Store()
{
    static const SettingsStore store("Halvett Software", "Corvane");
    return store;
}

}  // namespace

using SettingsStoreTest = SettingsTest;

TEST_F(SettingsStoreTest, MissingValuesReadAsTheDefaultAndReadingCreatesTheSection)
{
    EXPECT_EQ(Store().GetProfileInt("Settings", "ShowSplashScreen", 1), 1);
    EXPECT_EQ(Store().GetProfileString("Search", "LastFileName", "*.*"), "*.*");
    auto tree = ReadKeyTree("Software\\Halvett Software\\Corvane");
    EXPECT_EQ(tree.count("Settings\\"), 1u);
    EXPECT_EQ(tree.count("Search\\"), 1u);
}

TEST_F(SettingsStoreTest, ValuesRoundTripWithTheirKinds)
{
    EXPECT_TRUE(Store().WriteProfileInt("Search", "LastSizeSearchType", 2));
    EXPECT_TRUE(Store().WriteProfileInt("Search", "Negative", -7));
    EXPECT_TRUE(Store().WriteProfileString("Search", "LastFolder", "C:\\"));
    std::string longText(5000, 'x');
    EXPECT_TRUE(Store().WriteProfileString("Search", "LastKeywords", longText.c_str()));

    EXPECT_EQ(Store().GetProfileInt("Search", "LastSizeSearchType", 0), 2);
    EXPECT_EQ(Store().GetProfileInt("Search", "Negative", 0), -7);
    EXPECT_EQ(Store().GetProfileString("Search", "LastFolder", ""), "C:\\");
    EXPECT_EQ(Store().GetProfileString("Search", "LastKeywords", ""), longText);

    // A value of the other kind is not one of ours: the default stands.
    EXPECT_EQ(Store().GetProfileInt("Search", "LastFolder", 9), 9);
    EXPECT_EQ(Store().GetProfileString("Search", "LastSizeSearchType", "none"), "none");

    auto tree = ReadKeyTree("Software\\Halvett Software\\Corvane");
    EXPECT_EQ(tree["Search\\LastSizeSearchType"].substr(0, 2), std::to_string(REG_DWORD) + ":");
    EXPECT_EQ(tree["Search\\LastFolder"], std::to_string(REG_SZ) + ":" + std::string("C:\\\0", 4));
}

TEST_F(SettingsStoreTest, NamesCompareWithoutCase)
{
    Store().WriteProfileInt("Settings", "SkipHistorypage1", 1);
    EXPECT_EQ(Store().GetProfileInt("Settings", "SkipHistoryPage1", 0), 1);
    EXPECT_EQ(Store().GetProfileInt("SETTINGS", "skiphistorypage1", 0), 1);
}

TEST_F(SettingsStoreTest, DriveSectionsStayDistinctAndStable)
{
    Store().WriteProfileInt("History-C:\\", "Count", 3);
    Store().WriteProfileInt("History-E:\\", "Count", 5);

    SettingsStore later("Halvett Software", "Corvane");
    EXPECT_EQ(later.GetProfileInt("History-C:\\", "Count", 0), 3);
    EXPECT_EQ(later.GetProfileInt("History-E:\\", "Count", 0), 5);
    EXPECT_EQ(later.GetProfileInt("History-D:\\", "Count", 0), 0);
}
