#include "framework/Drives.h"

#include "framework/Handle.h"
#include "framework/Path.h"

#include <cstring>
#include <optional>

namespace framework {

namespace {

// An empty drive (total 0) counts as 0% full rather than dividing by zero.
double PercentOf(double used, double total)
{
    return total > 0 ? used * 100.0 / total : 0.0;
}

std::optional<SpaceFigures> QueryExtendedFigures(const char* root)
{
    using GetDiskFreeSpaceExFn = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    framework::Library kernel(::LoadLibraryA("KERNEL32.DLL"));
    if (!kernel)
        return std::nullopt;
    auto getDiskFreeSpaceEx = reinterpret_cast<GetDiskFreeSpaceExFn>(
        reinterpret_cast<void*>(::GetProcAddress(kernel.get(), "GetDiskFreeSpaceExA")));
    if (!getDiskFreeSpaceEx)
        return std::nullopt;
    ULARGE_INTEGER availableToCaller{}, totalBytes{}, totalFreeBytes{};
    if (!getDiskFreeSpaceEx(root, &availableToCaller, &totalBytes, &totalFreeBytes))
        return std::nullopt;
    return ExtendedSpaceFigures(totalBytes.QuadPart, totalFreeBytes.QuadPart);
}

bool PlatformUsesExtendedFreeSpace()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!::GetVersionExA(&version))
        return false;
    return UsesExtendedFreeSpace(version.dwPlatformId, version.dwBuildNumber);
}

}  // namespace

std::vector<std::string> GetFixedDriveRoots()
{
    char list[1024] = "";
    DWORD length = ::GetLogicalDriveStringsA(1023, list);
    std::vector<std::string> roots;
    if (length == 0 || length > 1023)
        return roots;
    for (const char* root = list; *root; root += std::strlen(root) + 1) {
        if (::GetDriveTypeA(root) == DRIVE_FIXED)
            roots.emplace_back(root);
    }
    return roots;
}

bool UsesExtendedFreeSpace(DWORD platformId, DWORD buildNumber)
{
    if (platformId == VER_PLATFORM_WIN32_NT)
        return true;
    return platformId == VER_PLATFORM_WIN32_WINDOWS && LOWORD(buildNumber) > 1000;
}

SpaceFigures ClassicSpaceFigures(DWORD sectorsPerCluster, DWORD bytesPerSector, DWORD freeClusters, DWORD totalClusters)
{
    double clusterBytes = static_cast<double>(sectorsPerCluster) * bytesPerSector;
    SpaceFigures figures;
    figures.percentFull = PercentOf(static_cast<DWORD>(totalClusters - freeClusters), totalClusters);
    figures.totalMegabytes = clusterBytes * totalClusters / 1048576.0;
    figures.freeMegabytes = clusterBytes * freeClusters / 1048576.0;
    return figures;
}

SpaceFigures ExtendedSpaceFigures(std::uint64_t totalBytes, std::uint64_t totalFreeBytes)
{
    SpaceFigures figures;
    figures.totalMegabytes = static_cast<DWORD>(totalBytes >> 20);
    figures.freeMegabytes = static_cast<DWORD>(totalFreeBytes >> 20);
    figures.percentFull = PercentOf(figures.totalMegabytes - figures.freeMegabytes, figures.totalMegabytes);
    return figures;
}

bool IsDriveRoot(std::string_view path) noexcept
{
    if (path.size() == 3 && path[2] == '\\')
        path.remove_suffix(1);
    return path.size() == 2 && path[1] == ':' && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z');
}

std::optional<std::uint64_t> GetDriveUsedBytes(const std::string& root)
{
    ULARGE_INTEGER available{}, total{}, free{};
    if (!::GetDiskFreeSpaceExW(WidePath(root).c_str(), &available, &total, &free) || free.QuadPart > total.QuadPart)
        return std::nullopt;
    return total.QuadPart - free.QuadPart;
}

void GetDriveSpace(const char* root, double* percentFull, double* totalMegabytes, double* freeMegabytes,
                   DWORD* clusterBytes)
{
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!::GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
        sectorsPerCluster = bytesPerSector = freeClusters = totalClusters = 0;

    // Without the extended service (or when it fails) the classic figures stand.
    SpaceFigures figures = ClassicSpaceFigures(sectorsPerCluster, bytesPerSector, freeClusters, totalClusters);
    if (PlatformUsesExtendedFreeSpace()) {
        if (std::optional<SpaceFigures> extended = QueryExtendedFigures(root))
            figures = *extended;
    }

    if (percentFull)
        *percentFull = figures.percentFull;
    if (totalMegabytes)
        *totalMegabytes = figures.totalMegabytes;
    if (freeMegabytes)
        *freeMegabytes = figures.freeMegabytes;
    if (clusterBytes)
        *clusterBytes = bytesPerSector * sectorsPerCluster;
}

VolumeDetails GetVolumeDetails(const char* root)
{
    char label[256] = "";
    char fileSystem[256] = "";
    DWORD serial = 0, maxComponentLength = 0, flags = 0;
    VolumeDetails details;
    if (::GetVolumeInformationA(root, label, 255, &serial, &maxComponentLength, &flags, fileSystem, 255)) {
        details.label = label;
        details.serialNumber = serial;
        details.fileSystemName = fileSystem;
    }
    return details;
}

std::string DriveLabel(const std::string& root)
{
    return root + " drive";
}

std::string RootFromDriveLabel(const std::string& label)
{
    constexpr size_t kSuffixLength = 6;  // " drive"
    return label.size() > kSuffixLength ? label.substr(0, label.size() - kSuffixLength) : std::string();
}

}  // namespace framework
