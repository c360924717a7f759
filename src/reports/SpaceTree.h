// Every folder and file an analysis met, kept compactly for the space map:
// one node of 40 bytes and one child slot of 4 per entry, and the names in
// one arena of UTF-8 text.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What a file holds, by its extension; the map colours files by it.
enum class FileClass : std::uint8_t {
    Pictures,
    VideoAudio,
    Archives,
    Programs,
    Documents,
    Temporary,
    Text,
    Other,
};
constexpr int kFileClassCount = 8;
extern const char* const kFileClassNames[kFileClassCount];

FileClass ClassOfName(std::string_view name);

class SpaceTree {
public:
    static constexpr std::uint32_t kNone = UINT32_MAX;

    struct Node {
        // What the node counts in its folder: its bytes as files claim
        // them and as the disk holds them; a folder's, all files below it.
        std::uint64_t size = 0;
        std::uint64_t onDisk = 0;
        std::uint32_t name = 0;  // offset into the arena
        std::uint32_t parent = kNone;
        std::uint32_t firstChild = 0;  // a folder's children, largest on disk first, in the child slots
        std::uint32_t childCount = 0;
        std::uint16_t nameLength = 0;
        FileClass fileClass = FileClass::Other;
        bool folder : 1 = false;
        // Recycled or deleted since the walk: an empty file has a size of 0 too.
        bool removed : 1 = false;
        // Another name of a file counted where the walk met it first: it counts nothing here.
        bool linked : 1 = false;
        // The last change of a file, a folder's newest file: whole minutes of
        // file time, which reach past the year 9000 in 32 bits (0: none).
        std::uint32_t changed = 0;
    };

    // File-time ticks as a node keeps them, and back.
    static std::uint32_t MinutesOf(std::int64_t ticks) noexcept;
    static std::uint64_t TicksOf(std::uint32_t minutes) noexcept;

    void Clear();
    // Forgets every node and opens the root folder, named by the whole target path.
    void Start(std::string_view target);
    // Room for this many nodes, and names of this many bytes in all, known
    // beforehand: the tree then never grows by copying itself.
    void Reserve(size_t nodes, size_t nameBytes);
    // During the walk: a folder opens below the folder opened last, files go
    // in the open folder, and a folder closes with its total.
    void OpenFolder(std::string_view name);
    // changed: the file's last write, a folder's newest file's, in file-time
    // ticks (0 or less: none).
    void AddFile(std::string_view name, std::uint64_t size, std::uint64_t onDisk, std::int64_t changed = 0);
    // A further name of a file already counted.
    void AddLink(std::string_view name, std::int64_t changed = 0);
    void CloseFolder(std::uint64_t size, std::uint64_t onDisk, std::int64_t changed = 0);

    bool Empty() const noexcept { return m_nodes.empty(); }
    std::uint32_t Root() const noexcept { return 0; }
    const Node& At(std::uint32_t node) const { return m_nodes[node]; }
    std::span<const std::uint32_t> Children(std::uint32_t folder) const;
    std::string_view Name(std::uint32_t node) const;
    // The whole path: the target, then the names below it.
    std::string Path(std::uint32_t node) const;
    // The node of a path below (or at) the target, or kNone.
    std::uint32_t Find(std::string_view path) const;
    // The same for many paths, each folder's names looked up in one index.
    std::vector<std::uint32_t> FindAll(std::span<const std::string> paths) const;
    std::vector<std::uint32_t> FindAll(std::span<const std::string_view> paths) const;
    // Whether node is folder or lies below it.
    bool IsWithin(std::uint32_t node, std::uint32_t folder) const;
    // The one record of what went. Recycled or deleted nodes (kNone: none):
    // they and what lies in them are marked removed and hold nothing, and
    // their folders shrink.
    void Remove(std::span<const std::uint32_t> nodes);
    bool Removed(std::uint32_t node) const { return m_nodes[node].removed; }
    bool AnyRemoved() const noexcept { return m_anyRemoved; }
    size_t Count() const noexcept { return m_nodes.size(); }
    size_t Bytes() const noexcept;

private:
    std::uint32_t Add(std::string_view name, bool folder);
    bool Larger(std::uint32_t a, std::uint32_t b) const;
    std::uint32_t FindChild(std::uint32_t folder, std::string_view name) const;
    void SortChildren(std::uint32_t folder);

    std::vector<Node> m_nodes;
    std::vector<std::uint32_t> m_children;
    std::vector<char> m_names;
    bool m_anyRemoved = false;
    // While walking: the folders open, and the children met in them so far.
    std::vector<std::uint32_t> m_open;
    std::vector<size_t> m_openStarts;
    std::vector<std::uint32_t> m_pending;
};
