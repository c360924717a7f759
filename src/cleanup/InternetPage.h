// The Internet tab's cache list: the chosen browser's cache files.
#pragma once

#include "pages/ListPage.h"

class SettingsStore;

class InternetPage : public ListPage {
public:
    // skipFlag: the introduction's, which Start Over resets.
    InternetPage(const SettingsStore& settings, const char* skipFlag) noexcept;

protected:
    BOOL OnInitDialog() override;
    void OnPageActivated() override;

private:
    void ListCache();
    void DeleteAll();
};
