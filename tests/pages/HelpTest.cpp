#include "pages/Help.h"

#include "framework/Seams.h"

#include "support/HostPath.h"
#include "support/Override.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

TEST(Help, EachKeywordOpensItsPageBesideTheProgram)
{
    std::vector<std::string> opened;
    ScopedOverride<decltype(framework::Seams::shellExecute)> shell(
        framework::GetSeams().shellExecute,
        [&](HWND, const char* verb, const char* file, const char*, const char*, int show) {
            EXPECT_STREQ(verb, "open");
            EXPECT_EQ(show, SW_SHOWNORMAL);
            opened.emplace_back(file);
            return INT_PTR{42};
        });
    bool askedWinHelp = false;
    ScopedOverride<decltype(framework::Seams::winHelp)> help(framework::GetSeams().winHelp,
                                                             [&](HWND, const char*, UINT, ULONG_PTR) {
                                                                 askedWinHelp = true;
                                                                 return true;
                                                             });

    std::vector<HelpTopic> topics{{nullptr, kHelpContentsPage}, {"No Such Page", kHelpContentsPage}};
    topics.insert(topics.end(), std::begin(kHelpTopics), std::end(kHelpTopics));
    for (const HelpTopic& topic : topics) {
        opened.clear();
        ShowHelp(nullptr, topic.keyword);
        ASSERT_EQ(opened.size(), 1u);
        const std::string& page = opened[0];
        EXPECT_EQ(page.substr(page.find_last_of('\\', page.size() - std::strlen(topic.page) - 2)),
                  std::string("\\help\\") + topic.page);
        // The test programs lie outside every drive: their folder is told by the build.
        EXPECT_NE(::GetFileAttributesA(HostPath(std::string(CORVANE_TEST_BINARY_DIR "/help/") + topic.page).c_str()),
                  INVALID_FILE_ATTRIBUTES)
            << topic.page;
    }
    EXPECT_FALSE(askedWinHelp);  // there is no help file beside the program
}
