// The program's tabs and their pages, in order.
#pragma once

#include "pages/TabView.h"

class SettingsStore;

// The tabs by their index; CorvaneTabs puts each tab's pages at its own.
enum CorvaneTab : int {
    kWelcomeTab,
    kDiskInfoTab,
    kHistoryTab,
    kReportsTab,
    kStartMenuTab,
    kInternetTab,
    kDllsTab,
    kSearchTab,
    kSpeedTab,
    kToolsTab,
    kTipsTab,
    kTabCount
};

std::vector<TabEntry> CorvaneTabs(const SettingsStore& settings);
