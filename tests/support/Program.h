// Moving around the program's own tabs in tests.
#pragma once

#include "app/CorvaneApp.h"
#include "pages/TabView.h"

inline CTabView& TabViewOf(CCorvaneApp& app)
{
    return *static_cast<CTabView*>(app.GetMainFrame()->GetActiveView());
}

// Brings a tab to the front as a click on it would, and lets its pages settle.
void ShowTab(CTabView& view, int tab);
