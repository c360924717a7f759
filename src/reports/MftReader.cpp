#include "reports/MftReader.h"

#include "framework/Path.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <limits>
#include <numeric>

namespace {

constexpr std::uint32_t kStandardInformation = 0x10;
constexpr std::uint32_t kAttributeList = 0x20;
constexpr std::uint32_t kFileName = 0x30;
constexpr std::uint32_t kData = 0x80;
constexpr std::uint32_t kReparsePoint = 0xC0;
constexpr std::uint32_t kEndOfAttributes = 0xFFFFFFFF;
constexpr std::uint64_t kRecordMask = 0xFFFFFFFFFFFF;
constexpr std::uint8_t kDosNamespace = 2;
constexpr std::uint16_t kCompressedOrSparse = 0x8001;
// Records below this number are the volume's own files, which no listing shows.
constexpr std::uint32_t kFirstUserRecord = 24;
constexpr size_t kFixupStride = 512;
constexpr size_t kBlockBytes = 1 << 20;
// NTFS keeps an attribute list under 256 KiB.
constexpr std::uint64_t kMaxListBytes = 256 << 10;
// Far more pieces than any table is in, yet little memory.
constexpr size_t kMaxRuns = 1 << 22;
// The volume's table of upper case, which orders the names in each folder.
constexpr std::uint32_t kUpCaseRecord = 10;
constexpr std::uint64_t kUpCaseBytes = 2 * 65536;
// A record holds at most this many names: each takes 0x5A bytes or more.
constexpr size_t kMaxNames = 64;

// NTFS lists a folder by its names upper-cased, unit by unit: a table of
// every unit's upper case makes that one lookup per unit.
class UpperCase {
public:
    // The volume's own table ($UpCase: a unit's upper case at twice the
    // unit) when it is whole, else the system's.
    explicit UpperCase(std::span<const std::uint8_t> volumes) : m_upper(65536)
    {
        if (volumes.size() == 2 * m_upper.size()) {
            std::memcpy(m_upper.data(), volumes.data(), volumes.size());
            return;
        }
        for (size_t unit = 0; unit < m_upper.size(); ++unit)
            m_upper[unit] = static_cast<wchar_t>(unit);
        ::CharUpperBuffW(m_upper.data() + 1, static_cast<DWORD>(m_upper.size() - 1));
    }
    bool Less(std::wstring_view a, std::wstring_view b) const
    {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [&](wchar_t x, wchar_t y) {
            return m_upper[static_cast<std::uint16_t>(x)] < m_upper[static_cast<std::uint16_t>(y)];
        });
    }

private:
    std::vector<wchar_t> m_upper;
};

template <typename T> T Get(std::span<const std::uint8_t> bytes, size_t at)
{
    T value{};
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

constexpr bool IsPowerOfTwo(std::uint64_t n) noexcept
{
    return n != 0 && (n & (n - 1)) == 0;
}

// Each 512-byte stride of a record ends in the sequence number, which the
// update-sequence array replaces with the bytes that belong there.
bool ApplyFixups(std::span<std::uint8_t> record)
{
    if (record.size() < kFixupStride || record.size() % kFixupStride != 0)
        return false;
    size_t offset = Get<std::uint16_t>(record, 4);
    size_t count = Get<std::uint16_t>(record, 6);
    size_t strides = record.size() / kFixupStride;
    if (count != strides + 1 || offset < 0x28 || offset % 2 != 0 || offset + 2 * count > record.size())
        return false;
    auto usn = Get<std::uint16_t>(record, offset);
    for (size_t i = 0; i < strides; ++i) {
        size_t end = (i + 1) * kFixupStride - 2;
        if (Get<std::uint16_t>(record, end) != usn)
            return false;
        std::memcpy(record.data() + end, record.data() + offset + 2 * (i + 1), 2);
    }
    return true;
}

// One attribute, its bounds checked against the record.
struct Attribute {
    std::uint32_t type;
    std::span<const std::uint8_t> bytes;

    bool Resident() const { return bytes[8] == 0; }
    bool Unnamed() const { return bytes[9] == 0; }
    std::uint16_t Flags() const { return Get<std::uint16_t>(bytes, 0x0C); }
    bool ValueFits() const
    {
        if (!Resident() || bytes.size() < 0x18)
            return false;
        size_t length = Get<std::uint32_t>(bytes, 0x10);
        size_t offset = Get<std::uint16_t>(bytes, 0x14);
        return offset <= bytes.size() && length <= bytes.size() - offset;
    }
    // A resident attribute's value; empty when it does not fit.
    std::span<const std::uint8_t> Value() const
    {
        if (!ValueFits())
            return {};
        return bytes.subspan(Get<std::uint16_t>(bytes, 0x14), Get<std::uint32_t>(bytes, 0x10));
    }
    bool NonResidentHeader() const { return !Resident() && bytes.size() >= 0x40; }
};

// Calls take for each attribute of a record whose fixups were applied; false
// when the attributes run past the bytes in use or end without their marker.
template <typename Take> bool ForEachAttribute(std::span<const std::uint8_t> record, Take take)
{
    size_t used = Get<std::uint32_t>(record, 0x18);
    size_t at = Get<std::uint16_t>(record, 0x14);
    size_t end = std::min(used, record.size());
    while (at + 4 <= end) {
        auto type = Get<std::uint32_t>(record, at);
        if (type == kEndOfAttributes)
            return true;
        if (at + 16 > end)
            return false;
        size_t length = Get<std::uint32_t>(record, at + 4);
        if (length < 16 || length > end - at)
            return false;
        if (!take(Attribute{type, record.subspan(at, length)}))
            return false;
        at += length;
    }
    return false;
}

std::uint64_t Unsigned(std::span<const std::uint8_t> bytes, size_t at, size_t count)
{
    std::uint64_t value = 0;
    for (size_t i = count; i-- > 0;)
        value = (value << 8) | bytes[at + i];
    return value;
}

std::int64_t Signed(std::span<const std::uint8_t> bytes, size_t at, size_t count)
{
    std::uint64_t value = Unsigned(bytes, at, count);
    if (count < 8 && (bytes[at + count - 1] & 0x80) != 0)
        value |= ~std::uint64_t{0} << (8 * count);
    return static_cast<std::int64_t>(value);
}

// The runs of a non-resident attribute: each a header byte giving the sizes
// of a length and of a signed distance from the run before, then both.
template <typename Run> bool DecodeRuns(std::span<const std::uint8_t> attribute, size_t at, std::vector<Run>& runs)
{
    std::uint64_t cluster = 0;
    while (at < attribute.size()) {
        std::uint8_t header = attribute[at++];
        if (header == 0)
            return true;
        size_t lengthBytes = header & 0x0F, offsetBytes = header >> 4;
        if (lengthBytes == 0 || lengthBytes > 8 || offsetBytes == 0 || offsetBytes > 8 ||
            lengthBytes + offsetBytes > attribute.size() - at)
            return false;  // the table itself is never sparse
        std::uint64_t length = Unsigned(attribute, at, lengthBytes);
        cluster += static_cast<std::uint64_t>(Signed(attribute, at + lengthBytes, offsetBytes));
        runs.push_back({cluster, length});
        at += lengthBytes + offsetBytes;
    }
    return false;
}

}  // namespace

bool IsNtfsBootSector(std::span<const std::uint8_t> boot)
{
    return boot.size() >= 11 && std::memcmp(boot.data() + 3, "NTFS    ", 8) == 0;
}

FileSource::FileSource(const std::string& path)
    : m_file(::CreateFileW(framework::WideText(path).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr))
{
}

bool FileSource::Read(std::uint64_t offset, std::span<std::uint8_t> buffer)
{
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<LONGLONG>::max()) ||
        !::SetFilePointerEx(m_file.get(), at, nullptr, FILE_BEGIN))
        return false;
    while (!buffer.empty()) {
        DWORD want = static_cast<DWORD>(std::min<size_t>(buffer.size(), kBlockBytes));
        DWORD got = 0;
        if (!::ReadFile(m_file.get(), buffer.data(), want, &got, nullptr) || got == 0)
            return false;
        buffer = buffer.subspan(got);
    }
    return true;
}

// The volume's geometry as its boot sector gives it.
struct MftTable::Volume {
    std::uint32_t sectorSize = 0;
    std::uint32_t clusterSize = 0;
    std::uint32_t recordSize = 0;
    std::uint64_t clusters = 0;
    std::uint64_t tableCluster = 0;

    bool Parse(std::span<const std::uint8_t> boot)
    {
        if (!IsNtfsBootSector(boot))
            return false;
        sectorSize = Get<std::uint16_t>(boot, 0x0B);
        std::uint8_t perCluster = boot[0x0D];
        clusterSize =
            perCluster <= 0x80 ? perCluster * sectorSize : (perCluster >= 0xEB ? 1u << (256 - perCluster) : 0);
        auto perRecord = static_cast<std::int8_t>(boot[0x40]);
        std::uint64_t record = perRecord > 0 ? std::uint64_t{clusterSize} * static_cast<std::uint64_t>(perRecord)
                                             : (perRecord >= -20 ? std::uint64_t{1} << -perRecord : 0);
        if (!IsPowerOfTwo(sectorSize) || sectorSize < 256 || sectorSize > 4096 || !IsPowerOfTwo(clusterSize) ||
            clusterSize < sectorSize || !IsPowerOfTwo(record) || record < kFixupStride || record > 65536)
            return false;
        recordSize = static_cast<std::uint32_t>(record);
        clusters = Get<std::uint64_t>(boot, 0x28) / (clusterSize / sectorSize);
        tableCluster = Get<std::uint64_t>(boot, 0x30);
        // Every byte of the volume has an offset that fits in 64 bits.
        return tableCluster < clusters && clusters <= std::numeric_limits<std::uint64_t>::max() / clusterSize;
    }
    // Reads whole sectors that hold the bytes; false outside the volume.
    bool ReadAligned(ByteSource& source, std::uint64_t offset, std::vector<std::uint8_t>& bytes, size_t count) const
    {
        size_t aligned = (count + sectorSize - 1) / sectorSize * sectorSize;
        bytes.resize(aligned);
        return offset / clusterSize < clusters && source.Read(offset, bytes);
    }
};

// What one record says, before it is kept.
struct MftTable::Facts {
    bool standard = false;
    FILETIME written{};
    DWORD attributes = 0;
    bool data = false;
    std::uint64_t size = 0;
    std::uint64_t onDisk = 0;
    bool reparse = false;
    size_t nameCount = 0;
    std::array<size_t, kMaxNames> names{};  // offsets of file-name values in the record

    bool Take(const Attribute& attribute, std::span<const std::uint8_t> record);
    bool TakeData(const Attribute& attribute);
};

bool MftTable::Facts::Take(const Attribute& a, std::span<const std::uint8_t> record)
{
    std::span<const std::uint8_t> value = a.Value();
    switch (a.type) {
    case kStandardInformation:
        if (value.size() < 0x24)
            return false;
        standard = true;
        written = {Get<DWORD>(value, 0x08), Get<DWORD>(value, 0x0C)};
        attributes = Get<DWORD>(value, 0x20);
        return true;
    case kFileName: {
        if (value.size() < 0x42 || 0x42 + 2 * size_t{value[0x40]} > value.size())
            return false;
        if (value[0x41] == kDosNamespace || value[0x40] == 0)
            return true;
        // A name holding a separator or a null would make another file's path.
        for (size_t unit = 0; unit < value[0x40]; ++unit) {
            auto c = Get<std::uint16_t>(value, 0x42 + 2 * unit);
            if (c == 0 || c == '\\' || c == '/')
                return false;
        }
        if (nameCount == names.size())
            return false;
        names[nameCount++] = static_cast<size_t>(value.data() - record.data());
        return true;
    }
    case kData:
        return TakeData(a);
    case kReparsePoint:
        reparse = true;
        return true;
    default:
        return true;
    }
}

// The unnamed stream's size and what it takes on the disk: nothing when it
// lies in the record, else its clusters, or for a compressed or sparse one
// the clusters that hold data.
bool MftTable::Facts::TakeData(const Attribute& a)
{
    if (!a.Unnamed())
        return true;
    if (a.Resident()) {
        if (!a.ValueFits())
            return false;
        data = true;
        size = a.Value().size();
        onDisk = 0;
        return true;
    }
    if (!a.NonResidentHeader())
        return false;
    if (Get<std::uint64_t>(a.bytes, 0x10) != 0)
        return true;  // a later piece of a stream spread over several records
    data = true;
    size = Get<std::uint64_t>(a.bytes, 0x30);
    bool compressed = (a.Flags() & kCompressedOrSparse) != 0 && a.bytes.size() >= 0x48;
    onDisk = Get<std::uint64_t>(a.bytes, compressed ? 0x40 : 0x28);
    return true;
}

void MftTable::Prepare(std::uint32_t recordSize)
{
    m_files.clear();
    m_names.clear();
    m_wide.clear();
    m_first.clear();
    m_entries.clear();
    m_text.clear();
    m_late.clear();
    m_upCaseData.clear();
    m_upCase.clear();
    m_faults = {};
    m_recordSize = recordSize;
    m_tableRuns = 0;
    m_whole = true;
}

void MftTable::Take(std::uint32_t number, std::span<std::uint8_t> record)
{
    if (record.size() < 4 || Get<std::uint32_t>(record, 0) == 0)
        return;  // never used
    if (std::memcmp(record.data(), "FILE", 4) != 0 || !ApplyFixups(record)) {
        ++m_faults.damaged;
        return;
    }
    if ((Get<std::uint16_t>(record, 0x16) & 1) == 0)
        return;  // free
    Facts facts;
    if (!ForEachAttribute(record, [&](const Attribute& a) { return facts.Take(a, record); })) {
        ++m_faults.damaged;
        return;
    }
    if (number == kUpCaseRecord)
        ForEachAttribute(record, [&](const Attribute& a) {
            if (a.type == kData && a.Unnamed())
                m_upCaseData.assign(a.bytes.begin(), a.bytes.end());
            return true;
        });
    // An extension record names its base with a sequence number: record 0 is a base too.
    std::uint64_t reference = Get<std::uint64_t>(record, 0x20);
    std::uint64_t base = reference & kRecordMask;
    if (base > std::numeric_limits<std::uint32_t>::max() || (reference == 0 && !facts.standard)) {
        ++m_faults.damaged;
        return;
    }
    Merge(number, reference == 0 ? number : static_cast<std::uint32_t>(base), record, facts);
}

void MftTable::Merge(std::uint32_t number, std::uint32_t base, std::span<const std::uint8_t> record, const Facts& facts)
{
    for (size_t i = 0; i < facts.nameCount; ++i) {
        std::span<const std::uint8_t> value = record.subspan(facts.names[i]);
        std::uint64_t parent = Get<std::uint64_t>(value, 0);
        if ((parent & kRecordMask) > std::numeric_limits<std::uint32_t>::max())
            continue;
        std::uint16_t length = value[0x40];
        m_names.push_back({base, static_cast<std::uint32_t>(parent & kRecordMask),
                           static_cast<std::uint32_t>(m_wide.size()), length,
                           static_cast<std::uint16_t>(parent >> 48)});
        for (size_t c = 0; c < length; ++c)
            m_wide.push_back(static_cast<wchar_t>(Get<std::uint16_t>(value, 0x42 + 2 * c)));
    }
    if (base != number) {
        if (facts.data || facts.reparse)
            m_late.push_back({base, facts.size, facts.onDisk, facts.data, facts.reparse});
        return;
    }
    if (number >= m_files.size())
        m_files.resize(size_t{number} + 1);
    MftFile& file = m_files[number];
    file.inUse = true;
    file.sequence = Get<std::uint16_t>(record, 0x10);
    file.written = facts.written;
    file.attributes = facts.attributes | (file.attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    if ((Get<std::uint16_t>(record, 0x16) & 2) != 0)
        file.attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (facts.reparse)
        file.attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    if (facts.data) {
        file.size = facts.size;
        file.onDisk = facts.onDisk;
    }
}

void MftTable::Settle()
{
    for (const Late& late : m_late) {
        if (late.base >= m_files.size() || !m_files[late.base].inUse) {
            ++m_faults.orphans;
            continue;
        }
        MftFile& file = m_files[late.base];
        if (late.data) {
            file.size = late.size;
            file.onDisk = late.onDisk;
        }
        if (late.reparse)
            file.attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    }
    m_late.clear();
    m_late.shrink_to_fit();
    List();
}

void MftTable::Release()
{
    std::vector<MftFile>().swap(m_files);
    std::vector<std::uint32_t>().swap(m_first);
    std::vector<MftEntry>().swap(m_entries);
    std::string().swap(m_text);
}

std::span<const MftEntry> MftTable::Children(std::uint32_t folder) const
{
    if (size_t{folder} + 1 >= m_first.size())
        return {};
    return {m_entries.data() + m_first[folder], m_first[folder + 1] - m_first[folder]};
}

// A name is listed when both it and its folder are in use and the folder is
// the one it names (not a later file in the same record).
bool MftTable::Holds(const Name& name)
{
    if (name.file < kFirstUserRecord)
        return false;
    if (name.file == name.parent) {
        ++m_faults.cycles;
        return false;
    }
    bool held = name.file < m_files.size() && m_files[name.file].inUse && name.parent < m_files.size() &&
                m_files[name.parent].inUse && (m_files[name.parent].attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                (name.parentSequence == 0 || name.parentSequence == m_files[name.parent].sequence);
    if (!held)
        ++m_faults.orphans;
    return held;
}

// Sorts each folder's names as NTFS lists them, by their upper case unit by
// unit, and keeps them as the program's text: half the room of UTF-16 for
// most names. Names past 4 GiB of text cannot be kept: the table is then
// given up, and the folders are walked.
void MftTable::List()
{
    constexpr std::uint32_t kNotHeld = std::numeric_limits<std::uint32_t>::max();
    m_first.assign(m_files.size() + 1, 0);
    for (Name& name : m_names) {
        if (Holds(name))
            ++m_first[name.parent + 1];
        else
            name.parent = kNotHeld;
    }
    std::partial_sum(m_first.begin(), m_first.end(), m_first.begin());
    std::vector<std::uint32_t> held(m_first.back());
    {
        std::vector<std::uint32_t> next(m_first.begin(), m_first.end() - 1);
        for (std::uint32_t i = 0; i < m_names.size(); ++i) {
            if (m_names[i].parent != kNotHeld)
                held[next[m_names[i].parent]++] = i;
        }
    }
    const UpperCase upper(m_upCase);
    auto text = [&](std::uint32_t i) {
        return std::wstring_view(m_wide.data() + m_names[i].textAt, m_names[i].length);
    };
    for (size_t folder = 0; folder < m_files.size(); ++folder)
        std::stable_sort(held.begin() + m_first[folder], held.begin() + m_first[folder + 1],
                         [&](std::uint32_t a, std::uint32_t b) { return upper.Less(text(a), text(b)); });
    m_entries.resize(held.size());
    m_text.reserve(m_wide.size() + held.size());
    for (size_t i = 0; i < held.size(); ++i) {
        if (m_text.size() > std::numeric_limits<std::uint32_t>::max()) {
            Release();
            break;
        }
        m_entries[i] = {m_names[held[i]].file, static_cast<std::uint32_t>(m_text.size())};
        framework::AppendNarrowText(text(held[i]), m_text);
        m_text.push_back('\0');
    }
    std::vector<Name>().swap(m_names);
    std::vector<wchar_t>().swap(m_wide);
    std::vector<std::uint8_t>().swap(m_upCaseData);
    std::vector<std::uint8_t>().swap(m_upCase);
    m_text.shrink_to_fit();
    m_faults.cycles += CountCycles();
}

// The folders whose chain of parents loops instead of reaching the root:
// no walk from the root meets them.
std::uint64_t MftTable::CountCycles() const
{
    constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
    const auto count = static_cast<std::uint32_t>(m_files.size());
    std::vector<std::uint32_t> parentOf(count, kNone);
    for (std::uint32_t folder = 0; folder < count; ++folder) {
        for (const MftEntry& entry : Children(folder)) {
            if ((m_files[entry.file].attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && parentOf[entry.file] == kNone)
                parentOf[entry.file] = folder;
        }
    }
    std::vector<std::uint32_t> seenFrom(count, kNone);
    std::uint64_t cycles = 0;
    for (std::uint32_t start = 0; start < count; ++start) {
        std::uint32_t at = start;
        while (at != kNone && seenFrom[at] == kNone) {
            seenFrom[at] = start;
            at = parentOf[at];
        }
        cycles += at != kNone && seenFrom[at] == start;
    }
    return cycles;
}

// Cuts the table's bytes, as they are read, into whole records.
struct MftTable::Assembler {
    MftTable& table;
    std::uint64_t limit;  // records in the table
    std::vector<std::uint8_t> record;
    size_t filled = 0;
    bool intact = true;
    std::uint64_t number = 0;

    // Takes the next bytes of the table; no data: they could not be read.
    void Feed(const std::uint8_t* data, std::uint64_t length)
    {
        while (length > 0 && number < limit) {
            if (!data && filled == 0 && length >= record.size()) {
                std::uint64_t whole = std::min(length / record.size(), limit - number);
                table.m_faults.unreadable += whole;
                number += whole;
                length -= whole * record.size();
                continue;
            }
            size_t take = static_cast<size_t>(std::min<std::uint64_t>(record.size() - filled, length));
            if (data) {
                std::memcpy(record.data() + filled, data, take);
                data += take;
            } else {
                intact = false;
            }
            filled += take;
            length -= take;
            if (filled < record.size())
                continue;
            if (intact)
                table.Take(static_cast<std::uint32_t>(number), record);
            else
                ++table.m_faults.unreadable;
            ++number;
            filled = 0;
            intact = true;
        }
    }
};

MftTable::Outcome MftTable::Read(ByteSource& source, ProgressSink& progress)
{
    Prepare(1024);
    std::vector<std::uint8_t> boot(4096);
    Volume volume;
    if (!source.Read(0, boot) || !volume.Parse(boot))
        return Outcome::Unreadable;
    Prepare(volume.recordSize);
    std::vector<Run> runs;
    std::uint64_t bytes = 0;
    if (!ReadTableRuns(source, volume, runs, bytes))
        return Outcome::Unreadable;
    m_whole = ReadRuns(source, volume, runs, bytes, progress);
    if (!m_upCaseData.empty())
        m_upCase = ReadStream(source, volume, m_upCaseData, kUpCaseBytes);
    Settle();
    // The steps of the replay are laid out beside the table next.
    m_files.shrink_to_fit();
    if (!m_whole)
        return Outcome::Stopped;
    return m_files.size() > kRoot && m_files[kRoot].inUse ? Outcome::Read : Outcome::Unreadable;
}

// The table's own record, the first, says where the rest of it lies; when
// the table is in more pieces than it holds, its attribute list names the
// records that hold the later ones.
bool MftTable::ReadTableRuns(ByteSource& source, const Volume& volume, std::vector<Run>& runs, std::uint64_t& bytes)
{
    std::vector<std::uint8_t> first;
    if (!volume.ReadAligned(source, volume.tableCluster * volume.clusterSize, first, volume.recordSize))
        return false;
    std::span<std::uint8_t> record(first.data(), volume.recordSize);
    if (std::memcmp(record.data(), "FILE", 4) != 0 || !ApplyFixups(record))
        return false;
    bool found = false, listed = false;
    std::vector<Piece> pieces;
    bool held = ForEachAttribute(record, [&](const Attribute& a) {
        if (a.type == kAttributeList && !listed) {
            listed = true;
            ListedPieces(ReadStream(source, volume, a.bytes, kMaxListBytes), pieces);
        }
        if (a.type != kData || !a.Unnamed() || !a.NonResidentHeader() || found)
            return true;
        found = true;
        bytes = Get<std::uint64_t>(a.bytes, 0x30);
        return DecodeRuns(a.bytes, Get<std::uint16_t>(a.bytes, 0x20), runs);
    });
    if (!held || !found || runs.empty())
        return false;
    // Each piece must go on where the runs so far end; what they do not reach counts as unread.
    std::uint64_t covered = 0;
    for (const Run& run : runs)
        covered += run.clusters;
    const std::uint64_t needed = bytes / volume.clusterSize + (bytes % volume.clusterSize != 0 ? 1 : 0);
    for (const Piece& piece : pieces) {
        if (covered >= needed || runs.size() >= kMaxRuns || piece.vcn != covered ||
            !ReadPiece(source, volume, piece, runs, covered))
            break;
    }
    m_tableRuns = runs.size();
    return true;
}

// An attribute's value, resident or not, up to the most bytes it may
// hold (a table in very many pieces keeps its attribute list outside its
// record). What cannot be read is left out.
std::vector<std::uint8_t> MftTable::ReadStream(ByteSource& source, const Volume& volume,
                                               std::span<const std::uint8_t> attribute, std::uint64_t most)
{
    const Attribute a{Get<std::uint32_t>(attribute, 0), attribute};
    if (a.Resident()) {
        std::span<const std::uint8_t> value = a.Value();
        return {value.begin(), value.end()};
    }
    std::vector<Run> runs;
    if (!a.NonResidentHeader() || !DecodeRuns(a.bytes, Get<std::uint16_t>(a.bytes, 0x20), runs))
        return {};
    const std::uint64_t size = std::min<std::uint64_t>(Get<std::uint64_t>(a.bytes, 0x30), most);
    std::vector<std::uint8_t> list, bytes;
    for (const Run& run : runs) {
        std::uint64_t want = size - list.size();
        if (want == 0 || run.lcn >= volume.clusters || run.clusters > volume.clusters - run.lcn)
            break;
        if (run.clusters <= want / volume.clusterSize)
            want = run.clusters * volume.clusterSize;
        if (!volume.ReadAligned(source, run.lcn * volume.clusterSize, bytes, static_cast<size_t>(want)))
            break;
        list.insert(list.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(want));
    }
    return list;
}

// The records the list names for later pieces of the unnamed data, each
// starting further into it than the one before.
void MftTable::ListedPieces(std::span<const std::uint8_t> list, std::vector<Piece>& pieces)
{
    for (size_t at = 0; at + 0x1A <= list.size();) {
        size_t length = Get<std::uint16_t>(list, at + 4);
        if (length < 0x1A || length > list.size() - at)
            return;
        std::uint64_t record = Get<std::uint64_t>(list, at + 0x10) & kRecordMask;
        std::uint64_t vcn = Get<std::uint64_t>(list, at + 8);
        if (Get<std::uint32_t>(list, at) == kData && list[at + 6] == 0 &&
            vcn > (pieces.empty() ? 0 : pieces.back().vcn) && record > 0 &&
            record <= std::numeric_limits<std::uint32_t>::max())
            pieces.push_back({static_cast<std::uint32_t>(record), vcn});
        at += length;
    }
}

// Adds the runs one record of the table holds, found through the runs known
// so far, when they start where those end; covered grows by what they add.
bool MftTable::ReadPiece(ByteSource& source, const Volume& volume, const Piece& piece, std::vector<Run>& runs,
                         std::uint64_t& covered)
{
    const std::uint32_t number = piece.record;
    std::uint64_t vcn = std::uint64_t{number} * volume.recordSize / volume.clusterSize, start = 0;
    std::uint64_t within = std::uint64_t{number} * volume.recordSize % volume.clusterSize;
    auto run = std::find_if(runs.begin(), runs.end(), [&](const Run& r) {
        start += r.clusters;
        return vcn < start;
    });
    std::uint64_t recordClusters = (volume.recordSize + volume.clusterSize - 1) / volume.clusterSize;
    if (run == runs.end() || start - vcn < recordClusters)
        return false;
    std::uint64_t offset = (run->lcn + (vcn - (start - run->clusters))) * volume.clusterSize + within;
    std::uint64_t skew = offset % volume.sectorSize;
    std::vector<std::uint8_t> bytes;
    if (!volume.ReadAligned(source, offset - skew, bytes, static_cast<size_t>(skew) + volume.recordSize))
        return false;
    std::span<std::uint8_t> record(bytes.data() + skew, volume.recordSize);
    if (std::memcmp(record.data(), "FILE", 4) != 0 || !ApplyFixups(record))
        return false;
    size_t before = runs.size();
    ForEachAttribute(record, [&](const Attribute& a) {
        if (a.type != kData || !a.Unnamed() || !a.NonResidentHeader() || runs.size() != before ||
            Get<std::uint64_t>(a.bytes, 0x10) != piece.vcn)
            return true;
        return DecodeRuns(a.bytes, Get<std::uint16_t>(a.bytes, 0x20), runs);
    });
    for (size_t i = before; i < runs.size(); ++i)
        covered += runs[i].clusters;
    return runs.size() != before;
}

// Reads the clusters in one piece, or else one by one so that a truncated
// image loses only what it lacks; false when none of them could be read.
bool MftTable::ReadBlock(ByteSource& source, const Volume& volume, std::uint64_t offset, std::uint64_t clusters,
                         std::vector<std::uint8_t>& block, Assembler& assembler)
{
    std::uint64_t length = clusters * volume.clusterSize;
    block.resize(static_cast<size_t>(length));
    if (source.Read(offset, block)) {
        assembler.Feed(block.data(), length);
        return true;
    }
    bool any = false;
    for (std::uint64_t c = 0; c < clusters; ++c) {
        std::span<std::uint8_t> one(block.data(), volume.clusterSize);
        bool read = source.Read(offset + c * volume.clusterSize, one);
        any = any || read;
        assembler.Feed(read ? one.data() : nullptr, volume.clusterSize);
    }
    return any;
}

// Counts the rest of a run as unread, as far as the table still reaches;
// returns the clusters passed over.
std::uint64_t MftTable::SkipClusters(const Volume& volume, std::uint64_t clusters, Assembler& assembler)
{
    std::uint64_t wanted = (assembler.limit - assembler.number) * volume.recordSize / volume.clusterSize + 1;
    std::uint64_t count = std::min(clusters, wanted);
    assembler.Feed(nullptr, count * volume.clusterSize);
    return count;
}

bool MftTable::ReadRuns(ByteSource& source, const Volume& volume, const std::vector<Run>& runs, std::uint64_t bytes,
                        ProgressSink& progress)
{
    Assembler assembler{*this,
                        std::min<std::uint64_t>(bytes / volume.recordSize, std::numeric_limits<std::uint32_t>::max()),
                        std::vector<std::uint8_t>(volume.recordSize)};
    const std::uint64_t clustersPerBlock = std::max<std::uint64_t>(1, kBlockBytes / volume.clusterSize);
    std::vector<std::uint8_t> block;
    char text[96] = "";
    for (const Run& run : runs) {
        bool inside = run.lcn < volume.clusters && run.clusters <= volume.clusters - run.lcn;
        if (!inside)
            ++m_faults.badRuns;
        for (std::uint64_t done = 0; done < run.clusters && assembler.number < assembler.limit;) {
            std::uint64_t count = std::min(clustersPerBlock, run.clusters - done);
            if (!inside || !ReadBlock(source, volume, (run.lcn + done) * volume.clusterSize, count, block, assembler))
                count = SkipClusters(volume, run.clusters - done, assembler);
            done += count;
            if (progress.WantsText())
                std::snprintf(text, sizeof text, "Reading the drive's file table\n%llu records",
                              static_cast<unsigned long long>(assembler.number));
            if (!progress.Step(text))
                return false;
        }
    }
    // What the runs do not cover could not be read.
    assembler.Feed(nullptr, (assembler.limit - assembler.number) * volume.recordSize);
    return true;
}
