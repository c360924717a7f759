// The Tools tab, which starts the system's own disk tools, and the Tips tab.
#pragma once

#include "pages/Page.h"

// Windows 95, 98 and Me, as GetVersion tells them from Windows NT.
bool IsWindows95Family();

class ToolsPage : public CPage {
public:
    explicit ToolsPage(bool windows95Family) noexcept;

protected:
    BOOL OnInitDialog() override;
    bool OnButtonClicked(UINT id) override;

private:
    void Start(const char* program, bool waitCursor);

    bool m_windows95Family;
};

struct Tip {
    const char* title;
    const char* text;  // paragraphs separated by an empty line
};

extern const Tip kTips[7];

class TipsPage : public CPage {
public:
    TipsPage() noexcept;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    void ShowTip();
};
