// The Internet tab's cache list: the chosen browser's cache files.
#pragma once

#include "lists/ListPage.h"

class SettingsStore;

class InternetPage : public CListPage {
public:
    explicit InternetPage(const SettingsStore& settings) noexcept;

protected:
    BOOL OnInitDialog() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnPageActivated() override;

private:
    void ListCache();
    void DeleteAll();

    const SettingsStore& m_settings;
};
