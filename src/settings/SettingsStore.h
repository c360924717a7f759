// The per-user settings: HKEY_CURRENT_USER\Software\<company>\<application>\<section>,
// integer and string values. Keys are opened (and created) for every call and
// closed again; a value that is missing or unreadable reads as the default.
#pragma once

#include "framework/Handle.h"

#include <string>

class SettingsStore {
public:
    SettingsStore(std::string company, std::string application);

    int GetProfileInt(const char* section, const char* entry, int defaultValue) const;
    std::string GetProfileString(const char* section, const char* entry, const char* defaultValue) const;
    bool WriteProfileInt(const char* section, const char* entry, int value) const;
    bool WriteProfileString(const char* section, const char* entry, const char* value) const;
    // How many values the section holds, whatever their names.
    int GetValueCount(const char* section) const;

private:
    framework::RegKey OpenSection(const char* section) const;

    std::string m_applicationKey;
};
