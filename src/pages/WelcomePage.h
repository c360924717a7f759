// The first tab: what Corvane does, and whether the splash window shows.
#pragma once

#include "pages/Page.h"

class WelcomePage : public Page {
public:
    explicit WelcomePage(const SettingsStore& settings) noexcept;

protected:
    BOOL OnInitDialog() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(framework::DataExchange& dx) override;

private:
    void OnShowSplash();

    const SettingsStore& m_settings;
    int m_showSplash = 1;
};
