// What every page of a tab shares: it is a modeless child dialog of the tab
// control, asks the view for other pages with UM_SHOWPAGE, and hears back
// through the other page messages.
#pragma once

#include "framework/Fonts.h"
#include "framework/Window.h"
#include "resources/resource.h"

#include <vector>

class SettingsStore;

// A button that leads to another page of the tab.
struct PageLink {
    UINT buttonId;
    int page;
    // The "Settings" value written 0 first, so that the tab's introduction
    // shows again (null: none).
    const char* skipFlag = nullptr;
};

class Page : public framework::Dialog {
public:
    // helpKey: the help topic of the page's help button (null: none);
    // settings: where the links' skip flags are written.
    // Wires the help buttons and the links.
    Page(UINT templateId, const char* helpKey, std::vector<PageLink> links = {},
         const SettingsStore* settings = nullptr) noexcept;

    bool CreatePage(HWND tabControl) { return Create(m_templateId, tabControl); }
    // The button Enter presses whatever has the focus; null: the page's
    // default push button of the moment.
    virtual HWND EnterButton() const noexcept { return nullptr; }
    // The window is now on a monitor of another DPI: fonts, pictures and
    // lengths in pixels follow it.
    virtual void UpdateDpi();

protected:
    // Gives the title and the introduction headings their fonts.
    BOOL OnInitDialog() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // A page is never ended like a dialog: Enter and Escape are the view's.
    void OnOK() override {}
    void OnCancel() override {}

    // Result pages start their work here.
    virtual void OnPageActivated() {}
    virtual void OnPageArgument(LPARAM) {}
    // Only the pages that follow the window's size act on it.
    virtual void OnPageResize(int, int) {}

    // Posts UM_SHOWPAGE to the view, the parent of the tab control.
    void ShowPage(int page, LPARAM argument = 0) const;
    void OpenHelp() const;

private:
    void FollowLink(const PageLink& link) const;
    void ShowAtDpi();

    UINT m_templateId;
    const char* m_helpKey;
    const SettingsStore* m_linkSettings;
    bool m_working = false;
    framework::Font m_titleFont;
    framework::Font m_headingFont;
    framework::GdiObject<HBITMAP> m_picture;
};

// An introduction page: Next goes to page 1, and a ticked "Skip this
// introduction next time" box makes the page skip itself from then on.
class IntroPage : public Page {
public:
    // skipFlag: the "Settings" value behind the skip box (null: the page has none).
    IntroPage(UINT templateId, const char* helpKey, const SettingsStore& settings,
              const char* skipFlag = nullptr) noexcept
        : Page(templateId, helpKey), m_settings(settings), m_skipFlag(skipFlag)
    {
        OnControl(IDC_NEXT, BN_CLICKED, [this] { OnNext(); });
    }

    // Enter acts as Next even when Tab has moved the focus to another button.
    HWND EnterButton() const noexcept override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(framework::DataExchange& dx) override;
    virtual void OnNext();

    const SettingsStore& m_settings;

private:
    const char* m_skipFlag;
    int m_skip = 0;
};
