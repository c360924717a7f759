// A file's version information: maker, description, product and so on.
#pragma once

#include "framework/Window.h"

#include <string>

struct VersionStrings {
    std::string description;
    std::string company;
    std::string productName;
    std::string productVersion;
    std::string copyright;
    std::string internalName;
    std::string comments;
};

// The strings of the US English tables, the Windows Latin-1 one winning over
// the Unicode one; empty texts for a file without version information.
VersionStrings ReadVersionStrings(const std::string& file);

class CDetailsDlg : public framework::Dialog {
public:
    // The name shown; the version information is read from path, or from
    // the name itself when no path is given.
    void SetFileName(const std::string& name, const std::string& path = {})
    {
        m_fileName = name;
        m_path = path;
    }
    INT_PTR DoModal(HWND parent) noexcept;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(framework::DataExchange& dx) override;

private:
    std::string m_fileName;
    std::string m_path;
    VersionStrings m_strings;
};
