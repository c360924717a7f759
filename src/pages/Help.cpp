#include "pages/Help.h"

#include "framework/Path.h"
#include "framework/Seams.h"

#include <cstring>

const HelpTopic kHelpTopics[10] = {
    {"Disk Info Page", "diskinfo.html"},   {"History Page", "history.html"},   {"Reports Page", "reports.html"},
    {"Start Menu Page", "startmenu.html"}, {"Internet Page", "internet.html"}, {"DLLs Page", "dlls.html"},
    {"Search Page", "search.html"},        {"Speed Page", "speed.html"},       {"Tools Page", "tools.html"},
    {"Tips and Techniques", "tips.html"},
};

std::string HelpPagePath(const char* keyword)
{
    const char* page = kHelpContentsPage;
    for (const HelpTopic& topic : kHelpTopics) {
        if (keyword && std::strcmp(keyword, topic.keyword) == 0)
            page = topic.page;
    }
    wchar_t module[MAX_PATH] = L"";
    DWORD length = ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::string program = framework::NarrowText(std::wstring(module, length).c_str());
    return program.substr(0, program.find_last_of('\\') + 1) + "help\\" + page;
}

void ShowHelp(HWND owner, const char* keyword)
{
    framework::Seams& seams = framework::GetSeams();
    // Windows after XP has no WinHelp of its own: ask it only when a help file is there.
    std::string helpFile = framework::HelpFilePath();
    if (framework::GetPathAttributes(helpFile) != INVALID_FILE_ATTRIBUTES &&
        seams.winHelp(owner, helpFile.c_str(), keyword ? HELP_KEY : HELP_CONTENTS,
                      reinterpret_cast<ULONG_PTR>(keyword)))
        return;
    seams.shellExecute(owner, "open", HelpPagePath(keyword).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
