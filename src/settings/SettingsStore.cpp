#include "settings/SettingsStore.h"

#include "framework/Win32.h"

#include <cstring>

namespace {

framework::RegKey CreateKey(HKEY parent, const char* name)
{
    framework::RegKey key;
    if (::RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS)
        key.reset();
    return key;
}

}  // namespace

SettingsStore::SettingsStore(std::string company, std::string application)
    : m_applicationKey("Software\\" + company + "\\" + application)
{
}

framework::RegKey SettingsStore::OpenSection(const char* section) const
{
    framework::RegKey application = CreateKey(HKEY_CURRENT_USER, m_applicationKey.c_str());
    if (!application)
        return application;
    return CreateKey(application.get(), section);
}

int SettingsStore::GetProfileInt(const char* section, const char* entry, int defaultValue) const
{
    framework::RegKey key = OpenSection(section);
    DWORD type = 0, value = 0, size = sizeof value;
    if (!key ||
        ::RegQueryValueExA(key.get(), entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return defaultValue;
    return static_cast<int>(value);
}

std::string SettingsStore::GetProfileString(const char* section, const char* entry, const char* defaultValue) const
{
    framework::RegKey key = OpenSection(section);
    std::optional<framework::RegistryString> value;
    if (key)
        value = framework::ReadRegistryString(key.get(), entry);
    if (!value || value->type != REG_SZ)
        return defaultValue;
    return value->text;
}

bool SettingsStore::WriteProfileInt(const char* section, const char* entry, int value) const
{
    framework::RegKey key = OpenSection(section);
    DWORD data = static_cast<DWORD>(value);
    return key && ::RegSetValueExA(key.get(), entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) ==
                      ERROR_SUCCESS;
}

int SettingsStore::GetValueCount(const char* section) const
{
    framework::RegKey key = OpenSection(section);
    DWORD values = 0;
    if (!key || ::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                                   nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return 0;
    return static_cast<int>(values);
}

bool SettingsStore::WriteProfileString(const char* section, const char* entry, const char* value) const
{
    framework::RegKey key = OpenSection(section);
    return key && ::RegSetValueExA(key.get(), entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                   static_cast<DWORD>(std::strlen(value) + 1)) == ERROR_SUCCESS;
}
