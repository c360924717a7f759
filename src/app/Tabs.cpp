#include "app/Tabs.h"

#include "cleanup/DllPage.h"
#include "cleanup/InternetPage.h"
#include "cleanup/StartMenuPages.h"
#include "disk/DiskPages.h"
#include "pages/WelcomePage.h"
#include "reports/KeptAnalysis.h"
#include "reports/ReportsPages.h"
#include "search/SearchPages.h"
#include "speed/SpeedPage.h"
#include "speed/SpeedTest.h"
#include "tools/ToolsPages.h"
#include "resources/resource.h"

namespace {

PageFactory Intro(UINT templateId, const char* helpKey, const SettingsStore& settings, const char* skipFlag = nullptr)
{
    return [=, &settings] { return std::make_unique<IntroPage>(templateId, helpKey, settings, skipFlag); };
}

// An introduction that skips itself by skipFlag, then Next, whose way back
// resets the flag, then the tab's results page if it has one.
template <class Next>
TabEntry SkippableTab(const char* caption, UINT introId, const char* helpKey, const char* skipFlag,
                      const SettingsStore& settings, PageFactory results = nullptr)
{
    PageFactory intro = Intro(introId, helpKey, settings, skipFlag);
    PageFactory next = [=, &settings] { return std::make_unique<Next>(settings, skipFlag); };
    if (results)
        return {caption, {std::move(intro), std::move(next), std::move(results)}};
    return {caption, {std::move(intro), std::move(next)}};
}

}  // namespace

std::vector<TabEntry> CorvaneTabs(const SettingsStore& settings)
{
    static_assert(kTabCount <= kMaxTabs, "the tab table has more tabs than kMaxTabs");
    std::vector<TabEntry> tabs(kTabCount, TabEntry(""));
    tabs[kWelcomeTab] = {"Welcome", {[&settings] { return std::make_unique<WelcomePage>(settings); }}};
    tabs[kDiskInfoTab] =
        SkippableTab<DiskInfoPage>("Disk Info", IDD_DISKINFO_INTRO, "Disk Info Page", "SkipDiskInfoPage1", settings);
    // History's way back has always written its flag in another case:
    // the same registry value, under the name it was first created with.
    tabs[kHistoryTab] = {"History",
                         {Intro(IDD_HISTORY_INTRO, "History Page", settings, "SkipHistoryPage1"),
                          [&settings] { return std::make_unique<HistoryPage>(settings, "SkipHistorypage1"); }}};
    tabs[kReportsTab] = SkippableTab<ReportsTargetPage>(
        "Reports", IDD_REPORTS_INTRO, "Reports Page", "SkipReportsPage1", settings,
        {[] { return std::make_unique<ReportsResultsPage>(AnalysisKeeper::DefaultFolder()); }});
    tabs[kStartMenuTab] = {"Start Menu",
                           {[&settings] { return std::make_unique<StartMenuIntroPage>(settings); },
                            [] { return std::make_unique<StartMenuResultsPage>(); }}};
    tabs[kInternetTab] =
        SkippableTab<InternetPage>("Internet", IDD_INTERNET_INTRO, "Internet Page", "SkipInternetPage1", settings);
    tabs[kDllsTab] = SkippableTab<DllPage>("DLLs", IDD_DLLS_INTRO, "DLLs Page", "SkipDllPage1", settings);
    tabs[kSearchTab] =
        SkippableTab<SearchCriteriaPage>("Search", IDD_SEARCH_INTRO, "Search Page", "SkipSearchPage0", settings,
                                         {[] { return std::make_unique<SearchResultsPage>(); }});
    tabs[kSpeedTab] = {"Speed", {Intro(IDD_SPEED_INTRO, "Speed Page", settings), [] {
                                     return std::make_unique<SpeedResultsPage>(kSpeedTestMilliseconds);
                                 }}};
    tabs[kToolsTab] = {"Tools", {[] { return std::make_unique<ToolsPage>(::GetVersion()); }}};
    tabs[kTipsTab] = {" Tips", {[] { return std::make_unique<TipsPage>(); }}};
    return tabs;
}
