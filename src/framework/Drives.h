// The local fixed disks and the free-space query every drive feature uses.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace framework {

// Every root ("C:\") of type DRIVE_FIXED, in the system's order.
std::vector<std::string> GetFixedDriveRoots();

// Whether a path names a drive's root, as "C:" or "C:\\".
bool IsDriveRoot(std::string_view path) noexcept;
// What the drive holds: its capacity less its free space; none when it cannot tell.
std::optional<std::uint64_t> GetDriveUsedBytes(const std::string& root);

// Fills the outputs that are not null. Megabytes are of 1,048,576 bytes.
void GetDriveSpace(const char* root, double* percentFull, double* totalMegabytes, double* freeMegabytes,
                   DWORD* clusterBytes);

struct VolumeDetails {
    std::string label;
    DWORD serialNumber = 0;
    std::string fileSystemName;
};

// Empty texts and a zero serial number when the volume cannot be read.
VolumeDetails GetVolumeDetails(const char* root);

// "C:\ drive" as lists show a drive, and the root back from such a label.
std::string DriveLabel(const std::string& root);
std::string RootFromDriveLabel(const std::string& label);

// The arithmetic behind GetDriveSpace, kept apart so it can be checked.
struct SpaceFigures {
    double percentFull = 0;
    double totalMegabytes = 0;
    double freeMegabytes = 0;
};

// Windows NT, and Windows 95 builds after 1000, have GetDiskFreeSpaceExA.
bool UsesExtendedFreeSpace(DWORD platformId, DWORD buildNumber);
// Exact to the cluster, fractional megabytes.
SpaceFigures ClassicSpaceFigures(DWORD sectorsPerCluster, DWORD bytesPerSector, DWORD freeClusters,
                                 DWORD totalClusters);
// Whole megabytes, truncated; the percentage comes from those whole values.
SpaceFigures ExtendedSpaceFigures(std::uint64_t totalBytes, std::uint64_t totalFreeBytes);

}  // namespace framework
