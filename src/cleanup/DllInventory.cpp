#include "cleanup/DllInventory.h"

#include "framework/FileFind.h"
#include "lists/DetailsDlg.h"

#include <cstdio>

std::vector<LibraryEntry> ListLibraries(const std::string& folder, ProgressSink& progress)
{
    std::vector<LibraryEntry> libraries;
    framework::FileFind find;
    for (bool more = find.FindFile(folder + "\\*.dll"); more; more = find.FindNextFile()) {
        std::string path = find.GetFilePath();
        VersionStrings version = ReadVersionStrings(path);
        libraries.push_back(
            {find.GetFileName(), find.GetLength(), find.GetLastWriteTime(), version.description, version.company});
        char text[MAX_PATH + 64];
        std::snprintf(text, sizeof text, "%d files found\nChecking %s...", static_cast<int>(libraries.size()),
                      path.c_str());
        if (!progress.Step(text))
            break;
    }
    return libraries;
}
