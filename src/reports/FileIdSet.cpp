#include "reports/FileIdSet.h"

namespace {

constexpr size_t kFirstSlots = 1024;

// Ids are often consecutive: every bit is mixed into the high ones, which pick the slot.
std::uint64_t Mixed(std::uint64_t id) noexcept
{
    id ^= id >> 33;
    id *= 0xff51afd7ed558ccdull;
    id ^= id >> 33;
    id *= 0xc4ceb9fe1a85ec53ull;
    return id ^ (id >> 33);
}

}  // namespace

// The table grows by half when three quarters are taken, so that it holds
// from a half to three quarters, and any count of slots serves.
bool FileIdSet::Insert(std::uint64_t id)
{
    if (id == 0)
        return true;
    if ((m_count + 1) * 4 > m_slots.size() * 3)
        Grow();
    for (size_t slot = SlotOf(id);; slot = slot + 1 == m_slots.size() ? 0 : slot + 1) {
        if (m_slots[slot] == id)
            return false;
        if (m_slots[slot] == 0) {
            m_slots[slot] = id;
            ++m_count;
            return true;
        }
    }
}

size_t FileIdSet::SlotOf(std::uint64_t id) const noexcept
{
    // The high half scaled to the table: no division, and any count of slots.
    return static_cast<size_t>(((Mixed(id) >> 32) * m_slots.size()) >> 32);
}

void FileIdSet::Grow()
{
    std::vector<std::uint64_t> old(m_slots.empty() ? kFirstSlots : m_slots.size() * 3 / 2, 0);
    old.swap(m_slots);
    for (std::uint64_t id : old) {
        if (id == 0)
            continue;
        size_t slot = SlotOf(id);
        while (m_slots[slot] != 0)
            slot = slot + 1 == m_slots.size() ? 0 : slot + 1;
        m_slots[slot] = id;
    }
}
