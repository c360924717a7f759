#include "support/Registry.h"

#include "framework/Handle.h"

#include <windows.h>

#include <vector>

namespace {

void ReadInto(HKEY key, const std::string& prefix, std::map<std::string, std::string>& values)
{
    char name[512];
    std::vector<BYTE> data(1 << 16);
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = sizeof name, type = 0;
        auto dataLength = static_cast<DWORD>(data.size());
        if (::RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data.data(), &dataLength) != ERROR_SUCCESS)
            break;
        values[prefix + name] =
            std::to_string(type) + ":" + std::string(reinterpret_cast<char*>(data.data()), dataLength);
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = sizeof name;
        if (::RegEnumKeyExA(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        framework::RegKey child;
        values[prefix + name + "\\"] = "key";
        if (::RegOpenKeyExA(key, name, 0, KEY_READ, child.put()) == ERROR_SUCCESS)
            ReadInto(child.get(), prefix + name + "\\", values);
    }
}

}  // namespace

void DeleteCompanyKey()
{
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Halvett Software");
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Halvett Software");
}

std::map<std::string, std::string> ReadKeyTree(const std::string& path)
{
    std::map<std::string, std::string> values;
    framework::RegKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS)
        ReadInto(key.get(), "", values);
    return values;
}
