// The file ids a walk has met: an open-addressing table of bare ids, so that
// a million files cost 11 to 16 bytes each.
#pragma once

#include <cstdint>
#include <vector>

class FileIdSet {
public:
    void Clear()
    {
        std::vector<std::uint64_t>().swap(m_slots);
        m_count = 0;
    }
    // Adds the id; false when it was there already. Id 0 (not known) is never kept and always new.
    bool Insert(std::uint64_t id);
    size_t Count() const noexcept { return m_count; }
    size_t Bytes() const noexcept { return m_slots.capacity() * sizeof(std::uint64_t); }

private:
    size_t SlotOf(std::uint64_t id) const noexcept;
    void Grow();

    std::vector<std::uint64_t> m_slots;  // 0: empty
    size_t m_count = 0;
};
