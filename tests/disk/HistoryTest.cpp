#include "disk/History.h"

#include "settings/SettingsStore.h"
#include "framework/Clock.h"
#include "framework/Text.h"

#include "support/Override.h"
#include "support/Registry.h"

#include <climits>

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t k1998 = 883612800;  // 1998-01-01 00:00:00 UTC, day 10228

class HistoryTest : public SettingsTest {
protected:
    void SetTime(std::int64_t unixTime) { m_now = unixTime; }
    int Count(const char* root) const { return m_store.GetProfileInt(HistorySection(root).c_str(), "Count", 0); }
    std::string Slot(const char* root, int slot) const
    {
        return m_store.GetProfileString(HistorySection(root).c_str(), ("Snapshot" + std::to_string(slot)).c_str(), "");
    }

    SettingsStore m_store{"Halvett Software", "Corvane"};
    std::int64_t m_now = k1998 + 3600;
    ScopedOverride<decltype(framework::Clock::unixTime)> m_clock{framework::GetClock().unixTime,
                                                                 [this] { return m_now; }};
};

}  // namespace

TEST(HistoryFormat, DayNumbersAreUtcDaysFromOne)
{
    EXPECT_EQ(DayNumber(0), 1);
    EXPECT_EQ(DayNumber(kSecondsPerDay - 1), 1);
    EXPECT_EQ(DayNumber(kSecondsPerDay), 2);
    EXPECT_EQ(DayNumber(k1998), 10228);
    EXPECT_EQ(DayNumber(k1998 + kSecondsPerDay - 1), 10228);
    EXPECT_EQ(DayNumber(-1), 0);
    // Past 2038.
    EXPECT_EQ(DayNumber(2208988800LL), 25568);
    EXPECT_EQ(HistorySection("C:\\"), "History-C:\\");
}

TEST(HistoryFormat, StoredValuesAreReadByTheirLeadingIntegers)
{
    ASSERT_TRUE(ParseSnapshot("40,10228"));
    EXPECT_EQ(ParseSnapshot("40,10228")->percent, 40);
    EXPECT_EQ(ParseSnapshot("40,10228")->day, 10228);
    EXPECT_EQ(ParseSnapshot("7,12abc")->day, 12);
    EXPECT_EQ(ParseSnapshot("x,y")->percent, 0);
    EXPECT_FALSE(ParseSnapshot("55"));
    EXPECT_FALSE(ParseSnapshot(""));
    EXPECT_EQ(framework::LeadingInteger(" -12,3"), -12);
    EXPECT_EQ(framework::LeadingInteger("99999999999999"), INT_MAX);
    EXPECT_EQ(framework::LeadingInteger("-99999999999999"), INT_MIN);
}

TEST_F(HistoryTest, OneSlotPerDayTheLatestReadingWinning)
{
    RecordSnapshot(m_store, "C:\\", 40.7);
    EXPECT_EQ(Count("C:\\"), 1);
    EXPECT_EQ(Slot("C:\\", 0), "40,10228");

    SetTime(k1998 + kSecondsPerDay - 1);
    RecordSnapshot(m_store, "C:\\", 41.2);
    EXPECT_EQ(Count("C:\\"), 1);
    EXPECT_EQ(Slot("C:\\", 0), "41,10228");

    SetTime(k1998 + kSecondsPerDay);
    RecordSnapshot(m_store, "C:\\", 45.99);
    EXPECT_EQ(Count("C:\\"), 2);
    EXPECT_EQ(Slot("C:\\", 1), "45,10229");

    // A clock set back is not today: a new slot.
    SetTime(k1998);
    RecordSnapshot(m_store, "C:\\", 0.4);
    EXPECT_EQ(Count("C:\\"), 3);
    EXPECT_EQ(Slot("C:\\", 2), "0,10228");

    RecordSnapshot(m_store, "E:\\", 100.0);
    EXPECT_EQ(Slot("E:\\", 0), "100,10228");
    EXPECT_EQ(Count("C:\\"), 3);
}

TEST_F(HistoryTest, ValueWithoutACommaStandsForItsDay)
{
    m_store.WriteProfileInt("History-C:\\", "Count", 1);
    m_store.WriteProfileString("History-C:\\", "Snapshot0", "10228");
    RecordSnapshot(m_store, "C:\\", 50);
    EXPECT_EQ(Count("C:\\"), 1);
    EXPECT_EQ(Slot("C:\\", 0), "50,10228");

    m_store.WriteProfileString("History-C:\\", "Snapshot0", "55");
    RecordSnapshot(m_store, "C:\\", 51);
    EXPECT_EQ(Count("C:\\"), 2);
    EXPECT_EQ(Slot("C:\\", 0), "55");
    EXPECT_EQ(Slot("C:\\", 1), "51,10228");
}

TEST_F(HistoryTest, ResetKeepsOldValuesUntilOverwritten)
{
    RecordSnapshot(m_store, "C:\\", 10);
    SetTime(k1998 + kSecondsPerDay);
    RecordSnapshot(m_store, "C:\\", 20);
    RecordSnapshot(m_store, "E:\\", 30);

    ResetHistory(m_store);
    EXPECT_EQ(Count("C:\\"), 0);
    EXPECT_EQ(Count("E:\\"), 0);
    EXPECT_EQ(Slot("C:\\", 0), "10,10228");
    EXPECT_EQ(Slot("C:\\", 1), "20,10229");

    RecordSnapshot(m_store, "C:\\", 25);
    EXPECT_EQ(Count("C:\\"), 1);
    EXPECT_EQ(Slot("C:\\", 0), "25,10229");
    EXPECT_EQ(Slot("C:\\", 1), "20,10229");
}

TEST_F(HistoryTest, TakeSnapshotRecordsEveryFixedDriveAndNoOther)
{
    TakeSnapshot(m_store);
    for (const char* root : {"C:\\", "E:\\"}) {
        EXPECT_EQ(Count(root), 1) << root;
        std::optional<Snapshot> snapshot = ParseSnapshot(Slot(root, 0));
        ASSERT_TRUE(snapshot) << root;
        EXPECT_EQ(snapshot->day, 10228);
        EXPECT_GE(snapshot->percent, 0);
        EXPECT_LE(snapshot->percent, 100);
    }
    EXPECT_EQ(ReadKeyTree("Software\\Halvett Software\\Corvane").count("History-D:\\"), 0u);
}
