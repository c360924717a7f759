#include "reports/SpaceTree.h"

#include "framework/Text.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>

const char* const kFileClassNames[kFileClassCount] = {
    "Pictures", "Media", "Archives", "Programs", "Documents", "Temporary", "Text", "Other",
};

// The header's promise: a node in 40 bytes.
static_assert(sizeof(SpaceTree::Node) == 40);

namespace {

struct ExtensionClass {
    const char* extension;
    FileClass fileClass;
};

// Sorted by extension, for a binary search.
constexpr std::array kExtensions = {
    ExtensionClass{"7z", FileClass::Archives},     ExtensionClass{"aac", FileClass::VideoAudio},
    ExtensionClass{"avi", FileClass::VideoAudio},  ExtensionClass{"bak", FileClass::Temporary},
    ExtensionClass{"bmp", FileClass::Pictures},    ExtensionClass{"bz2", FileClass::Archives},
    ExtensionClass{"c", FileClass::Text},          ExtensionClass{"cab", FileClass::Archives},
    ExtensionClass{"cfg", FileClass::Text},        ExtensionClass{"chm", FileClass::Documents},
    ExtensionClass{"com", FileClass::Programs},    ExtensionClass{"conf", FileClass::Text},
    ExtensionClass{"cpl", FileClass::Programs},    ExtensionClass{"cpp", FileClass::Text},
    ExtensionClass{"css", FileClass::Text},        ExtensionClass{"csv", FileClass::Documents},
    ExtensionClass{"deb", FileClass::Archives},    ExtensionClass{"dll", FileClass::Programs},
    ExtensionClass{"dmp", FileClass::Temporary},   ExtensionClass{"doc", FileClass::Documents},
    ExtensionClass{"docx", FileClass::Documents},  ExtensionClass{"drv", FileClass::Programs},
    ExtensionClass{"epub", FileClass::Documents},  ExtensionClass{"exe", FileClass::Programs},
    ExtensionClass{"flac", FileClass::VideoAudio}, ExtensionClass{"gif", FileClass::Pictures},
    ExtensionClass{"gz", FileClass::Archives},     ExtensionClass{"h", FileClass::Text},
    ExtensionClass{"heic", FileClass::Pictures},   ExtensionClass{"hlp", FileClass::Documents},
    ExtensionClass{"htm", FileClass::Documents},   ExtensionClass{"html", FileClass::Documents},
    ExtensionClass{"ico", FileClass::Pictures},    ExtensionClass{"ini", FileClass::Text},
    ExtensionClass{"iso", FileClass::Archives},    ExtensionClass{"jar", FileClass::Archives},
    ExtensionClass{"jpeg", FileClass::Pictures},   ExtensionClass{"jpg", FileClass::Pictures},
    ExtensionClass{"js", FileClass::Text},         ExtensionClass{"json", FileClass::Text},
    ExtensionClass{"log", FileClass::Temporary},   ExtensionClass{"lzma", FileClass::Archives},
    ExtensionClass{"m4a", FileClass::VideoAudio},  ExtensionClass{"md", FileClass::Text},
    ExtensionClass{"mid", FileClass::VideoAudio},  ExtensionClass{"mkv", FileClass::VideoAudio},
    ExtensionClass{"mov", FileClass::VideoAudio},  ExtensionClass{"mp3", FileClass::VideoAudio},
    ExtensionClass{"mp4", FileClass::VideoAudio},  ExtensionClass{"mpeg", FileClass::VideoAudio},
    ExtensionClass{"mpg", FileClass::VideoAudio},  ExtensionClass{"msi", FileClass::Programs},
    ExtensionClass{"ocx", FileClass::Programs},    ExtensionClass{"odt", FileClass::Documents},
    ExtensionClass{"ogg", FileClass::VideoAudio},  ExtensionClass{"old", FileClass::Temporary},
    ExtensionClass{"pdf", FileClass::Documents},   ExtensionClass{"pl", FileClass::Text},
    ExtensionClass{"png", FileClass::Pictures},    ExtensionClass{"ppt", FileClass::Documents},
    ExtensionClass{"pptx", FileClass::Documents},  ExtensionClass{"ps", FileClass::Documents},
    ExtensionClass{"psd", FileClass::Pictures},    ExtensionClass{"py", FileClass::Text},
    ExtensionClass{"rar", FileClass::Archives},    ExtensionClass{"rtf", FileClass::Documents},
    ExtensionClass{"sh", FileClass::Text},         ExtensionClass{"so", FileClass::Programs},
    ExtensionClass{"svg", FileClass::Pictures},    ExtensionClass{"swp", FileClass::Temporary},
    ExtensionClass{"sys", FileClass::Programs},    ExtensionClass{"tar", FileClass::Archives},
    ExtensionClass{"temp", FileClass::Temporary},  ExtensionClass{"tif", FileClass::Pictures},
    ExtensionClass{"tiff", FileClass::Pictures},   ExtensionClass{"tmp", FileClass::Temporary},
    ExtensionClass{"ttf", FileClass::Programs},    ExtensionClass{"txt", FileClass::Text},
    ExtensionClass{"wav", FileClass::VideoAudio},  ExtensionClass{"webm", FileClass::VideoAudio},
    ExtensionClass{"webp", FileClass::Pictures},   ExtensionClass{"wma", FileClass::VideoAudio},
    ExtensionClass{"wmv", FileClass::VideoAudio},  ExtensionClass{"xls", FileClass::Documents},
    ExtensionClass{"xlsx", FileClass::Documents},  ExtensionClass{"xml", FileClass::Text},
    ExtensionClass{"xz", FileClass::Archives},     ExtensionClass{"zip", FileClass::Archives},
    ExtensionClass{"zst", FileClass::Archives},
};

// Names compared the way the file system does for these: ASCII letters without case.
bool LessIgnoringCase(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return framework::LowerAscii(x) < framework::LowerAscii(y);
    });
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && !LessIgnoringCase(a, b) && !LessIgnoringCase(b, a);
}

}  // namespace

FileClass ClassOfName(std::string_view name)
{
    size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos || dot == 0)
        return FileClass::Other;
    std::string_view extension = name.substr(dot + 1);
    // Backups by their last character: name.ext~ and name.ex_ .
    if (!extension.empty() && extension.back() == '~')
        return FileClass::Temporary;
    auto found = std::lower_bound(
        kExtensions.begin(), kExtensions.end(), extension,
        [](const ExtensionClass& entry, std::string_view wanted) { return LessIgnoringCase(entry.extension, wanted); });
    if (found == kExtensions.end() || !EqualIgnoringCase(found->extension, extension))
        return FileClass::Other;
    return found->fileClass;
}

void SpaceTree::Clear()
{
    m_nodes.clear();
    m_children.clear();
    m_names.clear();
    m_anyRemoved = false;
    m_open.clear();
    m_openStarts.clear();
    m_pending.clear();
    m_nodes.shrink_to_fit();
    m_children.shrink_to_fit();
    m_names.shrink_to_fit();
}

void SpaceTree::Start(std::string_view target)
{
    Clear();
    m_open.push_back(Add(target, true));
    m_openStarts.push_back(0);
}

void SpaceTree::Reserve(size_t nodes, size_t nameBytes)
{
    m_nodes.reserve(nodes);
    m_children.reserve(nodes);
    m_names.reserve(nameBytes);
}

std::uint32_t SpaceTree::Add(std::string_view name, bool folder)
{
    auto index = static_cast<std::uint32_t>(m_nodes.size());
    Node node;
    node.name = static_cast<std::uint32_t>(m_names.size());
    node.nameLength = static_cast<std::uint16_t>(std::min<size_t>(name.size(), UINT16_MAX));
    node.parent = m_open.empty() ? kNone : m_open.back();
    node.folder = folder;
    if (!folder)
        node.fileClass = ClassOfName(name);
    m_names.insert(m_names.end(), name.begin(), name.begin() + node.nameLength);
    m_nodes.push_back(node);
    if (!m_open.empty())
        m_pending.push_back(index);
    return index;
}

void SpaceTree::OpenFolder(std::string_view name)
{
    m_open.push_back(Add(name, true));
    m_openStarts.push_back(m_pending.size());
}

std::uint32_t SpaceTree::MinutesOf(std::int64_t ticks) noexcept
{
    constexpr std::int64_t kTicksPerMinute = 600'000'000;
    if (ticks <= 0)
        return 0;
    // A time in the first minute of 1601 is still a time.
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(ticks / kTicksPerMinute, 1, UINT32_MAX));
}

std::uint64_t SpaceTree::TicksOf(std::uint32_t minutes) noexcept
{
    return std::uint64_t{minutes} * 600'000'000;
}

void SpaceTree::AddFile(std::string_view name, std::uint64_t size, std::uint64_t onDisk, std::int64_t changed)
{
    Node& file = m_nodes[Add(name, false)];
    file.size = size;
    file.onDisk = onDisk;
    file.changed = MinutesOf(changed);
}

void SpaceTree::AddLink(std::string_view name, std::int64_t changed)
{
    Node& link = m_nodes[Add(name, false)];
    link.linked = true;
    link.changed = MinutesOf(changed);
}

// The children met in the folder move to the child slots, largest first.
void SpaceTree::CloseFolder(std::uint64_t size, std::uint64_t onDisk, std::int64_t changed)
{
    if (m_open.empty())
        return;
    Node& folder = m_nodes[m_open.back()];
    folder.size = size;
    folder.onDisk = onDisk;
    folder.changed = MinutesOf(changed);
    size_t start = m_openStarts.back();
    auto first = m_pending.begin() + static_cast<std::ptrdiff_t>(start);
    std::stable_sort(first, m_pending.end(), [&](std::uint32_t a, std::uint32_t b) { return Larger(a, b); });
    folder.firstChild = static_cast<std::uint32_t>(m_children.size());
    folder.childCount = static_cast<std::uint32_t>(m_pending.size() - start);
    m_children.insert(m_children.end(), first, m_pending.end());
    m_pending.resize(start);
    m_open.pop_back();
    m_openStarts.pop_back();
    if (m_open.empty())
        m_pending.shrink_to_fit();
}

std::span<const std::uint32_t> SpaceTree::Children(std::uint32_t folder) const
{
    const Node& node = m_nodes[folder];
    return {m_children.data() + node.firstChild, node.childCount};
}

std::string_view SpaceTree::Name(std::uint32_t node) const
{
    return {m_names.data() + m_nodes[node].name, m_nodes[node].nameLength};
}

std::string SpaceTree::Path(std::uint32_t node) const
{
    std::vector<std::uint32_t> chain;
    for (std::uint32_t at = node; at != kNone; at = m_nodes[at].parent)
        chain.push_back(at);
    std::string path;
    for (auto at = chain.rbegin(); at != chain.rend(); ++at) {
        if (!path.empty())
            path += '\\';
        path += Name(*at);
    }
    // A drive's root as the shell names it.
    if (path.size() == 2 && path[1] == ':')
        path += '\\';
    return path;
}

// The exact name first, else one that differs only in case.
std::uint32_t SpaceTree::FindChild(std::uint32_t folder, std::string_view name) const
{
    std::uint32_t found = kNone;
    for (std::uint32_t child : Children(folder)) {
        if (Name(child) == name)
            return child;
        if (found == kNone && EqualIgnoringCase(Name(child), name))
            found = child;
    }
    return found;
}

std::uint32_t SpaceTree::Find(std::string_view path) const
{
    if (m_nodes.empty())
        return kNone;
    std::string_view root = Name(Root());
    if (path.size() < root.size() || !EqualIgnoringCase(path.substr(0, root.size()), root))
        return kNone;
    std::string_view rest = path.substr(root.size());
    if (rest == "\\")
        rest = {};
    std::uint32_t at = Root();
    while (!rest.empty() && at != kNone) {
        if (rest.front() != '\\' || !m_nodes[at].folder)
            return kNone;
        rest.remove_prefix(1);
        std::string_view name = rest.substr(0, rest.find('\\'));
        rest.remove_prefix(name.size());
        at = FindChild(at, name);
    }
    return at;
}

std::vector<std::uint32_t> SpaceTree::FindAll(std::span<const std::string> paths) const
{
    std::vector<std::string_view> views(paths.begin(), paths.end());
    return FindAll(views);
}

std::vector<std::uint32_t> SpaceTree::FindAll(std::span<const std::string_view> paths) const
{
    // A folder of a hundred thousand files is searched once, not once a path.
    struct FolderIndex {
        std::uint32_t folder = kNone;
        std::unordered_map<std::string_view, std::uint32_t> names;
    };
    std::unordered_map<std::string_view, FolderIndex> indexes;
    std::vector<std::uint32_t> found;
    found.reserve(paths.size());
    for (std::string_view path : paths) {
        size_t slash = path.find_last_of('\\');
        if (slash == std::string_view::npos || slash + 1 == path.size()) {
            found.push_back(Find(path));
            continue;
        }
        std::string_view name = path.substr(slash + 1);
        auto [index, made] = indexes.try_emplace(path.substr(0, slash));
        FolderIndex& folder = index->second;
        if (made) {
            folder.folder = Find(index->first);
            if (folder.folder != kNone && m_nodes[folder.folder].folder) {
                for (std::uint32_t child : Children(folder.folder))
                    folder.names.try_emplace(Name(child), child);
            }
        }
        auto child = folder.names.find(name);
        if (child != folder.names.end())
            found.push_back(child->second);
        else
            found.push_back(folder.names.empty() ? kNone : FindChild(folder.folder, name));
    }
    return found;
}

bool SpaceTree::IsWithin(std::uint32_t node, std::uint32_t folder) const
{
    for (std::uint32_t at = node; at != kNone; at = m_nodes[at].parent) {
        if (at == folder)
            return true;
    }
    return false;
}

void SpaceTree::Remove(std::span<const std::uint32_t> nodes)
{
    std::unordered_set<std::uint32_t> shrunk;
    std::vector<std::uint32_t> below;
    for (std::uint32_t node : nodes) {
        if (node == kNone || m_nodes[node].removed)
            continue;
        m_anyRemoved = true;
        const Node went = m_nodes[node];
        for (std::uint32_t at = went.parent; at != kNone; at = m_nodes[at].parent) {
            m_nodes[at].size -= std::min(went.size, m_nodes[at].size);
            m_nodes[at].onDisk -= std::min(went.onDisk, m_nodes[at].onDisk);
            shrunk.insert(at);
        }
        // What lies in a folder goes with it, so that none of it is drawn again.
        below.push_back(node);
        while (!below.empty()) {
            std::uint32_t at = below.back();
            below.pop_back();
            m_nodes[at].size = 0;
            m_nodes[at].onDisk = 0;
            m_nodes[at].removed = true;
            if (m_nodes[at].folder) {
                for (std::uint32_t child : Children(at))
                    below.push_back(child);
            }
        }
    }
    // Each folder that shrank sorts its children again, once.
    for (std::uint32_t folder : shrunk)
        SortChildren(folder);
}

void SpaceTree::SortChildren(std::uint32_t folder)
{
    auto first = m_children.begin() + m_nodes[folder].firstChild;
    std::stable_sort(first, first + m_nodes[folder].childCount,
                     [&](std::uint32_t a, std::uint32_t b) { return Larger(a, b); });
}

// By the space taken on the disk, which the map draws; then by the bytes claimed.
bool SpaceTree::Larger(std::uint32_t a, std::uint32_t b) const
{
    const Node &first = m_nodes[a], &second = m_nodes[b];
    return first.onDisk != second.onDisk ? first.onDisk > second.onDisk : first.size > second.size;
}

size_t SpaceTree::Bytes() const noexcept
{
    return m_nodes.capacity() * sizeof(Node) + m_children.capacity() * sizeof(std::uint32_t) + m_names.capacity();
}
