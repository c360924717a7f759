// The program's tabs and their pages, in order.
#pragma once

#include "pages/TabView.h"

class SettingsStore;

std::vector<TabEntry> CorvaneTabs(const SettingsStore& settings);
