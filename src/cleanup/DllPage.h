// The DLLs tab's list: every library of the system directory, with its maker.
#pragma once

#include "pages/ListPage.h"

class SettingsStore;

class DllPage : public ListPage {
public:
    // skipFlag: the introduction's, which Start Over resets.
    DllPage(const SettingsStore& settings, const char* skipFlag) noexcept;

protected:
    void OnPageActivated() override;
    bool ConfirmRemoval() override;

private:
    void ShowDetails();
};
