// The Speed tab's results: every fixed drive tested, beside a reference model.
#pragma once

#include "pages/Page.h"

#include <string>

struct ReferenceDrive {
    const char* name;
    double kilobytesPerSecond[6];
};

// The reference models, in the order the "Compare With:" list offers them.
extern const ReferenceDrive kReferenceDrives[10];

class SpeedResultsPage : public Page {
public:
    // testMilliseconds: how long each test runs.
    explicit SpeedResultsPage(DWORD testMilliseconds) noexcept;

protected:
    BOOL OnInitDialog() override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    void OnPageActivated() override { RunSpeedTest(); }

private:
    void RunSpeedTest();
    void UpdateCompare();
    void InsertColumn(int position, const char* heading, int width);
    int Scaled(int pixels) const noexcept;
    // At least minimum wide, and wide enough for the heading and every cell.
    void FitColumn(int column, const char* heading, int minimum);
    void SetCell(int row, int column, const std::string& text);

    DWORD m_testMilliseconds;
    int m_columns = 1;
};
