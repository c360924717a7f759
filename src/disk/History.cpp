#include "disk/History.h"

#include "settings/SettingsStore.h"
#include "framework/Drives.h"
#include "framework/Clock.h"
#include "framework/Text.h"

#include <climits>
#include <cstdio>

namespace {

constexpr const char* kCount = "Count";

std::string SlotName(int slot)
{
    return "Snapshot" + std::to_string(slot);
}

}  // namespace

int DayNumber(std::int64_t unixTime)
{
    constexpr std::int64_t kSecondsPerDay = 86400;
    std::int64_t days = unixTime / kSecondsPerDay;
    if (unixTime % kSecondsPerDay < 0)
        --days;
    return static_cast<int>(days + 1);
}

std::string HistorySection(const std::string& root)
{
    return "History-" + root;
}

std::optional<Snapshot> ParseSnapshot(const std::string& value)
{
    size_t comma = value.find(',');
    if (comma == std::string::npos)
        return std::nullopt;
    return Snapshot{framework::LeadingInteger(value.c_str()), framework::LeadingInteger(value.c_str() + comma + 1)};
}

void RecordSnapshot(const SettingsStore& store, const std::string& root, double percentFull)
{
    std::string section = HistorySection(root);
    int count = store.GetProfileInt(section.c_str(), kCount, 0);
    // A damaged store must not make the next slot number overflow.
    if (count < 0 || count == INT_MAX)
        count = 0;
    int today = DayNumber(framework::GetClock().unixTime());

    int slot = count;
    if (count > 0) {
        std::string last = store.GetProfileString(section.c_str(), SlotName(count - 1).c_str(), "");
        size_t comma = last.find(',');
        // A value without a comma stands for its day as a whole.
        int lastDay = framework::LeadingInteger(last.c_str() + (comma == std::string::npos ? 0 : comma + 1));
        if (lastDay == today)
            slot = count - 1;
    }

    char value[32];
    std::snprintf(value, sizeof value, "%d,%d", static_cast<int>(percentFull), today);
    store.WriteProfileString(section.c_str(), SlotName(slot).c_str(), value);
    store.WriteProfileInt(section.c_str(), kCount, slot + 1);
}

void TakeSnapshot(const SettingsStore& store)
{
    for (const std::string& root : framework::GetFixedDriveRoots()) {
        double percentFull = 0;
        framework::GetDriveSpace(root.c_str(), &percentFull, nullptr, nullptr, nullptr);
        RecordSnapshot(store, root, percentFull);
    }
}

void ResetHistory(const SettingsStore& store)
{
    for (const std::string& root : framework::GetFixedDriveRoots())
        store.WriteProfileInt(HistorySection(root).c_str(), kCount, 0);
}
