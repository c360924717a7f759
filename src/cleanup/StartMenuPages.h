// The Start Menu tab: its two options, and the shortcuts that point nowhere.
#pragma once

#include "cleanup/ShortcutCheck.h"
#include "pages/ListPage.h"

// The options as the last Next left them, for the scan to read.
ShortcutOptions& StartMenuOptions();

// Asks the shell where a shortcut's target went and, after the user's Yes,
// points the shortcut there. Nothing is written otherwise.
void AutoFixShortcut(HWND owner, const std::string& path);

class StartMenuIntroPage : public IntroPage {
public:
    explicit StartMenuIntroPage(const SettingsStore& settings) noexcept;

protected:
    BOOL OnInitDialog() override;
    void OnNext() override;
};

class StartMenuResultsPage : public ListPage {
public:
    StartMenuResultsPage() noexcept;

protected:
    void OnPageActivated() override;

private:
    void AutoFix();
};
