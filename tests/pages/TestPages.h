// A window to hold a tab view, and a result page that records what it hears.
#pragma once

#include "settings/SettingsStore.h"
#include "framework/Window.h"
#include "pages/TabView.h"

#include "pages/test_resource.h"

#include <string>
#include <vector>

// A top-level window whose whole client area is a tab view.
class TestHost : public framework::Window {
public:
    explicit TestHost(std::vector<TabEntry> tabs);
    CTabView& View() { return m_view; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    CTabView m_view;
};

// A result page: counts activations, keeps its arguments and sizes, and
// goes back to page 0 with "Start Over", resetting a skip flag first when it
// has one.
class RecordingPage : public Page {
public:
    RecordingPage(const SettingsStore& settings, const char* resetFlag = nullptr)
        : Page(IDD_TEST_RESULT_PAGE, "Test Page", {{IDC_TEST_START_OVER, 0, resetFlag}}, &settings)
    {
    }

    // What the view asked of the page, and the sizes it was told, in order.
    std::vector<std::string> events;
    std::vector<std::string> sizes;

protected:
    void OnPageActivated() override { events.push_back("activated"); }
    void OnPageArgument(LPARAM argument) override { events.push_back("argument " + std::to_string(argument)); }
    void OnPageResize(int width, int height) override
    {
        sizes.push_back(std::to_string(width) + "x" + std::to_string(height));
    }
};
