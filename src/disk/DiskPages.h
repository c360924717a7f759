// The Disk Info summary and the History chart.
#pragma once

#include "framework/Drives.h"
#include "disk/HistoryChart.h"
#include "framework/Controls.h"
#include "pages/Page.h"

#include <string>
#include <vector>

class SettingsStore;

// The texts the summary shows for one drive.
struct DriveSummary {
    std::string percentText;
    int barPosition = 0;  // tenths of a percent, 0 to 1000
    std::string freeText;
    std::string totalText;
    std::string usedText;
    std::string clusterText;
    std::string serialText;
};

DriveSummary SummarizeDrive(double percentFull, double totalMegabytes, double freeMegabytes, DWORD clusterBytes,
                            DWORD serialNumber);

class DiskInfoPage : public Page {
public:
    // skipFlag: the introduction's, which Intro resets.
    DiskInfoPage(const SettingsStore& settings, const char* skipFlag) noexcept;

protected:
    BOOL OnInitDialog() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;

private:
    void ShowSummary(int item);

    framework::ImageList m_images;
};

class HistoryPage : public Page {
public:
    // skipFlag: the introduction's, which Intro resets.
    HistoryPage(const SettingsStore& settings, const char* skipFlag) noexcept;

protected:
    BOOL OnInitDialog() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    RECT ChartRect() const;
    // The percentage the chart's picture is drawn at.
    int ChartScale() const;
    void LoadHistory();
    void OnPaint();
    void OnMouseMove(POINT place);
    void OnReset();
    void RedrawChart();

    const SettingsStore& m_settings;
    ChartHistory m_history;
};
