// A fresh folder under the prefix's temporary folder, removed with everything
// in it when the test ends.
#pragma once

#include <cstdint>
#include <string>

class TempFolder {
public:
    TempFolder();
    // A given folder that does not exist yet, such as a program's folder
    // below the application data; path ends in a backslash.
    explicit TempFolder(std::string path);
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    // The folder's path, ending in a backslash.
    const std::string& Path() const { return m_path; }

    // Creates a file (and its folders) of the given size below the folder;
    // it takes next to no room on the disk, unless filled with bytes.
    std::string MakeFile(const std::string& relativePath, std::uint64_t size = 0, bool filled = false) const;
    std::string MakeFolder(const std::string& relativePath) const;
    // A file (and its folders) holding these bytes.
    std::string WriteFile(const std::string& relativePath, const std::string& bytes) const;

private:
    std::string m_path;
};

// Gives a file a last-write time, in seconds since 1970.
void SetLastWrite(const std::string& path, long long unixSeconds);
