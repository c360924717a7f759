// The tests' view of the settings store in the test prefix's registry.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

// Removes HKEY_CURRENT_USER\Software\Halvett Software and all below it.
void DeleteCompanyKey();

// Every value below HKEY_CURRENT_USER\<path>, as "subkey\value" -> type and data.
std::map<std::string, std::string> ReadKeyTree(const std::string& path);

// Each test starts with no settings at all.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteCompanyKey(); }
    void TearDown() override { DeleteCompanyKey(); }
};
