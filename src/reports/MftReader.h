// Reads an NTFS volume's master file table: every file's names with their
// folders, sizes, attributes and last-write time, without listing a folder.
#pragma once

#include "framework/Handle.h"
#include "working/ProgressSink.h"

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Where the table's bytes come from: a volume or an image file of one.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Fills the whole buffer from the offset; false when it cannot.
    virtual bool Read(std::uint64_t offset, std::span<std::uint8_t> buffer) = 0;
};

// Whether the first sector is an NTFS boot sector.
bool IsNtfsBootSector(std::span<const std::uint8_t> boot);

// A volume (\\.\C:) or an image file, opened for reading only.
class FileSource : public ByteSource {
public:
    explicit FileSource(const std::string& path);
    bool IsOpen() const noexcept { return static_cast<bool>(m_file); }
    bool Read(std::uint64_t offset, std::span<std::uint8_t> buffer) override;

private:
    framework::KernelHandle m_file;
};

// One file of the table; the record number is its index.
struct MftFile {
    std::uint64_t size = 0;    // of the unnamed data stream
    std::uint64_t onDisk = 0;  // what that stream takes: allocated, or compressed
    FILETIME written{};
    DWORD attributes = 0;  // with FILE_ATTRIBUTE_DIRECTORY for a folder
    std::uint16_t sequence = 0;
    bool inUse = false;
};

// One name in a folder's listing: the file it names, and where its text lies.
struct MftEntry {
    std::uint32_t file = 0;
    std::uint32_t textAt = 0;
};

// What was skipped, each counted once where it was met.
struct MftFaults {
    std::uint64_t damaged = 0;     // records whose header, fixups or attributes do not hold
    std::uint64_t unreadable = 0;  // records that could not be read: outside the volume or the image
    std::uint64_t badRuns = 0;     // data runs pointing outside the volume
    std::uint64_t cycles = 0;      // folders met again below themselves
    std::uint64_t orphans = 0;     // names, and extension records, whose folder or base is not in the table
};

class MftTable {
public:
    static constexpr std::uint32_t kRoot = 5;

    enum class Outcome { Read, Stopped, Unreadable };

    // Reads the whole table; Unreadable when the boot sector or the table's
    // own record does not hold. After a stop the records read so far are kept.
    Outcome Read(ByteSource& source, ProgressSink& progress);
    // False after a stop: the table holds only the records before it.
    bool Whole() const noexcept { return m_whole; }

    // Forgets every record; the next are of this size.
    void Prepare(std::uint32_t recordSize);
    // Takes one record as read (its fixups are applied in place); what does
    // not hold is skipped and counted. The table grows only with the records
    // taken, so no claim of a record makes it allocate.
    void Take(std::uint32_t number, std::span<std::uint8_t> record);
    // Gives extension records met before their base record to it, then
    // lists each folder's names in the order a listing of it gives them.
    void Settle();

    // Frees the files and names once an analysis has taken them; the faults stay.
    void Release();

    const std::vector<MftFile>& Files() const noexcept { return m_files; }
    // The names in a folder: those of files in use, not the volume's own.
    std::span<const MftEntry> Children(std::uint32_t folder) const;
    // A name, in the program's text.
    const char* Text(const MftEntry& entry) const { return m_text.data() + entry.textAt; }
    MftFaults& Faults() noexcept { return m_faults; }
    const MftFaults& Faults() const noexcept { return m_faults; }
    // The runs the table itself lies in.
    size_t TableRuns() const noexcept { return m_tableRuns; }

private:
    struct Volume;
    struct Run {
        std::uint64_t lcn;
        std::uint64_t clusters;
    };
    struct Assembler;
    // A record holding the table's runs from a cluster of it on.
    struct Piece {
        std::uint32_t record;
        std::uint64_t vcn;
    };
    // What an extension record holds for a base record not yet read.
    struct Late {
        std::uint32_t base;
        std::uint64_t size;
        std::uint64_t onDisk;
        bool data;
        bool reparse;
    };
    struct Facts;
    // A long name as read, in its parent's folder; its text is UTF-16 until listed.
    struct Name {
        std::uint32_t file;
        std::uint32_t parent;
        std::uint32_t textAt;
        std::uint16_t length;
        std::uint16_t parentSequence;
    };

    void Merge(std::uint32_t number, std::uint32_t base, std::span<const std::uint8_t> record, const Facts& facts);
    bool ReadTableRuns(ByteSource& source, const Volume& volume, std::vector<Run>& runs, std::uint64_t& bytes);
    static std::vector<std::uint8_t> ReadStream(ByteSource& source, const Volume& volume,
                                                std::span<const std::uint8_t> attribute, std::uint64_t most);
    static void ListedPieces(std::span<const std::uint8_t> list, std::vector<Piece>& pieces);
    bool ReadPiece(ByteSource& source, const Volume& volume, const Piece& piece, std::vector<Run>& runs,
                   std::uint64_t& covered);
    bool ReadRuns(ByteSource& source, const Volume& volume, const std::vector<Run>& runs, std::uint64_t bytes,
                  ProgressSink& progress);
    bool ReadBlock(ByteSource& source, const Volume& volume, std::uint64_t offset, std::uint64_t clusters,
                   std::vector<std::uint8_t>& block, Assembler& assembler);
    std::uint64_t SkipClusters(const Volume& volume, std::uint64_t clusters, Assembler& assembler);

    bool Holds(const Name& name);
    void List();
    std::uint64_t CountCycles() const;

    std::vector<MftFile> m_files;
    std::vector<Name> m_names;
    std::vector<wchar_t> m_wide;
    // Per record: its first entry in m_entries; the entries folder by folder.
    std::vector<std::uint32_t> m_first;
    std::vector<MftEntry> m_entries;
    std::string m_text;  // each name ends with a null
    // $UpCase's data attribute as its record holds it, then its value.
    std::vector<std::uint8_t> m_upCaseData;
    std::vector<std::uint8_t> m_upCase;
    std::vector<Late> m_late;
    MftFaults m_faults;
    std::uint32_t m_recordSize = 1024;
    size_t m_tableRuns = 0;
    bool m_whole = true;
};
