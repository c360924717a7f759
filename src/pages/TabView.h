// The main window's client area: a tab control whose tabs each show one of a
// short sequence of pages. Every page is built once, with the view.
#pragma once

#include "framework/Fonts.h"
#include "framework/Handle.h"
#include "framework/View.h"
#include "pages/Page.h"

#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using PageFactory = std::function<std::unique_ptr<Page>()>;

// How many tabs and pages a tab table may hold: more would not fit the
// window, so a table that asks for more does not compile.
constexpr size_t kMaxTabs = 12;
constexpr size_t kMaxPages = 5;

struct TabEntry {
    template <size_t Count>
    TabEntry(std::string title, PageFactory (&&factories)[Count])
        : caption(std::move(title)),
          pages(std::make_move_iterator(factories), std::make_move_iterator(factories + Count))
    {
        static_assert(Count <= kMaxPages, "a tab has more pages than kMaxPages");
    }
    // A tab with no page.
    explicit TabEntry(std::string title) : caption(std::move(title)) {}

    std::string caption;
    std::vector<PageFactory> pages;  // page 0 first
};

class CTabView : public framework::View {
public:
    static constexpr UINT kTabControlId = 1111;

    explicit CTabView(std::vector<TabEntry> tabs) : m_tabs(std::move(tabs)) {}

    // Escape does nothing, Tab moves through the current page, Enter presses
    // its default button.
    bool PreTranslateKeyDown(MSG& msg) override;

    HWND GetTabControl() const noexcept { return m_tabControl; }
    int GetTabCount() const noexcept { return m_tabCount; }
    Page* GetPage(int tab, int page) const noexcept;
    // The page on show in the selected tab.
    Page* GetCurrentPage() const noexcept;
    // The selected tab's caption.
    std::string GetCurrentCaption() const;
    // The size of the view at which the largest page fits below the tabs as
    // they are wrapped now.
    SIZE SizeToFitPages() const;
    // Selects the tab and shows its page there, as the page's own links do.
    void ShowTabPage(int tab, int page);
    // After a move to a monitor of another DPI: fonts and pages follow it.
    void UpdateDpi();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;

private:
    int OnCreate();
    void OnShowPage(int page, LPARAM argument);
    void OnSize(int width, int height);
    RECT DisplayArea() const;
    void PlaceCurrentPage();
    void ShowCurrentPage();
    void HideCurrentPage();
    int CurrentTab() const noexcept;
    void SetTabFont();
    int Scaled(int pixels) const noexcept;
    void PressEnterButton(const Page& page);

    std::vector<TabEntry> m_tabs;
    HWND m_tabControl = nullptr;
    int m_tabCount = 0;
    // By tab, then by page; a page that failed to build is null.
    std::vector<std::vector<std::unique_ptr<Page>>> m_pages;
    std::vector<int> m_currentPage;
    framework::GdiObject<HBRUSH> m_background;
    framework::Font m_tabFont;  // none: the stock font
};
