#include "pages/Tabs.h"

#include "cleanup/DllPage.h"
#include "cleanup/InternetPage.h"
#include "cleanup/StartMenuPages.h"
#include "disk/DiskPages.h"
#include "pages/WelcomePage.h"
#include "reports/ReportsPages.h"
#include "search/SearchPages.h"
#include "speed/SpeedPage.h"
#include "speed/SpeedTest.h"
#include "tools/ToolsPages.h"
#include "resources/resource.h"

namespace {

PageFactory Intro(UINT templateId, const char* helpKey, const SettingsStore& settings, const char* skipFlag = nullptr)
{
    return [=, &settings] { return std::make_unique<CIntroPage>(templateId, helpKey, settings, skipFlag); };
}

}  // namespace

std::vector<TabEntry> CorvaneTabs(const SettingsStore& settings)
{
    return {
        {"Welcome", {[&settings] { return std::make_unique<CWelcomePage>(settings); }}},
        {"Disk Info",
         {Intro(IDD_DISKINFO_INTRO, "Disk Info Page", settings, "SkipDiskInfoPage1"),
          [&settings] { return std::make_unique<DiskInfoPage>(settings); }}},
        {"History",
         {Intro(IDD_HISTORY_INTRO, "History Page", settings, "SkipHistoryPage1"),
          [&settings] { return std::make_unique<HistoryPage>(settings); }}},
        {"Reports",
         {Intro(IDD_REPORTS_INTRO, "Reports Page", settings, "SkipReportsPage1"),
          [&settings] { return std::make_unique<ReportsTargetPage>(settings); },
          [] { return std::make_unique<ReportsResultsPage>(); }}},
        {"Start Menu",
         {[&settings] { return std::make_unique<StartMenuIntroPage>(settings); },
          [] { return std::make_unique<StartMenuResultsPage>(); }}},
        {"Internet",
         {Intro(IDD_INTERNET_INTRO, "Internet Page", settings, "SkipInternetPage1"),
          [&settings] { return std::make_unique<InternetPage>(settings); }}},
        {"DLLs",
         {Intro(IDD_DLLS_INTRO, "DLLs Page", settings, "SkipDllPage1"),
          [&settings] { return std::make_unique<DllPage>(settings); }}},
        {"Search",
         {Intro(IDD_SEARCH_INTRO, "Search Page", settings, "SkipSearchPage0"),
          [&settings] { return std::make_unique<SearchCriteriaPage>(settings); },
          [] { return std::make_unique<SearchResultsPage>(); }}},
        {"Speed",
         {Intro(IDD_SPEED_INTRO, "Speed Page", settings),
          [] { return std::make_unique<SpeedResultsPage>(kSpeedTestMilliseconds); }}},
        {"Tools", {[] { return std::make_unique<ToolsPage>(::GetVersion()); }}},
        {" Tips", {[] { return std::make_unique<TipsPage>(); }}},
    };
}
