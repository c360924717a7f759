// The day-by-day record of how full each fixed drive was, kept in the
// settings store: section "History-<root>", "Count" slots "Snapshot%d" = "%d,%d"
// (percent full, UTC day number).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

class SettingsStore;

// Day 1 is 1970-01-01 (UTC).
int DayNumber(std::int64_t unixTime);

std::string HistorySection(const std::string& root);

struct Snapshot {
    int percent = 0;
    int day = 0;
};

// A stored value without a comma is not a snapshot.
std::optional<Snapshot> ParseSnapshot(const std::string& value);

// Records one drive's reading for today: today's slot is overwritten, any
// other day gets a new slot.
void RecordSnapshot(const SettingsStore& store, const std::string& root, double percentFull);

// RecordSnapshot for every fixed drive.
void TakeSnapshot(const SettingsStore& store);

// Sets every fixed drive's "Count" to 0; the old values stay.
void ResetHistory(const SettingsStore& store);
