// The program's help: the .HLP file through WinHelp where the system still
// has both, else the HTML pages installed beside the program, shown in the
// user's browser.
#pragma once

#include <windows.h>

#include <string>

struct HelpTopic {
    const char* keyword;
    const char* page;
};

extern const HelpTopic kHelpTopics[10];
constexpr const char* kHelpContentsPage = "index.html";

// The page of a keyword beside the program; the contents page for nullptr or
// a keyword without a page.
std::string HelpPagePath(const char* keyword);

// Opens help at a keyword, or at its contents for nullptr.
void ShowHelp(HWND owner, const char* keyword);
