// The Search tab after its introduction: the criteria, and the files found.
#pragma once

#include "pages/ListPage.h"
#include "search/FileSearch.h"

class SettingsStore;

class SearchCriteriaPage : public Page {
public:
    // skipFlag: the introduction's, which Start Over resets.
    SearchCriteriaPage(const SettingsStore& settings, const char* skipFlag) noexcept;

protected:
    BOOL OnInitDialog() override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    void DoDataExchange(framework::DataExchange& dx) override;

private:
    void OnSearch();
    void OnBrowse();
    void StepSize(int delta);

    const SettingsStore& m_settings;
    SearchCriteria m_fields;
    // What the last search handed to the results page, which copies it.
    SearchCriteria m_handedOver;
};

class SearchResultsPage : public ListPage {
public:
    SearchResultsPage() noexcept;

protected:
    void OnPageArgument(LPARAM argument) override;
    void OnPageActivated() override;

private:
    SearchParameters m_parameters;
    bool m_hasCriteria = false;
};
