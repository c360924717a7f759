// The program's tabs and their pages, in order.
#pragma once

#include "pages/TabView.h"

class SettingsStore;

std::vector<TabSpec> CorvaneTabs(const SettingsStore& settings);
