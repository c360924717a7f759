// The whole program in tests: started on the test prefix's settings without
// its splash screen, and closed again when the test ends.
#pragma once

#include "app/CorvaneApp.h"
#include "pages/TabView.h"

#include "support/Registry.h"

#include <memory>

inline CTabView& TabViewOf(CCorvaneApp& app)
{
    return *static_cast<CTabView*>(app.GetMainFrame()->GetActiveView());
}

// Clicks a tab and lets its pages settle.
void ShowTab(CTabView& view, int tab);

class ProgramTest : public SettingsTest {
protected:
    void TearDown() override;

    // Settings written before the start are the ones the program reads.
    void Start();
    // Starts it, clicks a tab and waits until that tab shows the page.
    void StartOn(int tab, int page);
    void Close();

    CTabView& View() { return TabViewOf(*m_app); }
    HWND Page(int tab, int page) { return View().GetPage(tab, page)->GetSafeHwnd(); }

    SettingsStore m_store{CCorvaneApp::kCompanyKey, CCorvaneApp::kAppName};
    std::unique_ptr<CCorvaneApp> m_app;
};
