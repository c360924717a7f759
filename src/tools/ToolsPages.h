// The Tools tab, which starts the system's own disk tools, and the Tips tab.
#pragma once

#include "pages/Page.h"

#include <windows.h>

#include <string>

// What the shell is asked to start for one tool.
struct ToolCommand {
    const char* verb;
    std::string file;  // the full path: a program of that name beside ours must not start instead
    std::string parameters;
};

struct SystemTools {
    ToolCommand backup;
    ToolCommand scanDisk;
    ToolCommand defrag;
    bool canDefrag;
};

// The tools of the system whose version GetVersion reports: the Windows 95
// family, Windows NT before Vista, or Vista and later, where the older tools
// are gone. Each is started by its path in the system folder.
SystemTools ToolsFor(DWORD version);

class ToolsPage : public Page {
public:
    explicit ToolsPage(DWORD version);

protected:
    BOOL OnInitDialog() override;

private:
    void Start(const ToolCommand& tool, bool waitCursor);

    SystemTools m_tools;
};

struct Tip {
    const char* title;
    const char* text;  // paragraphs separated by an empty line
};

extern const Tip kTips[7];

class TipsPage : public Page {
public:
    TipsPage() noexcept;

protected:
    BOOL OnInitDialog() override;

private:
    void ShowTip();
};
