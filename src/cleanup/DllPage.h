// The DLLs tab's list: every library of the system directory, with its maker.
#pragma once

#include "lists/ListPage.h"

class SettingsStore;

class DllPage : public CListPage {
public:
    explicit DllPage(const SettingsStore& settings) noexcept;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnPageActivated() override;
    bool ConfirmRemoval() override;

private:
    void ShowDetails();

    const SettingsStore& m_settings;
};
