#include "reports/FileTypes.h"

#include <algorithm>
#include <unordered_map>

namespace {

// The extension's characters after the dot, as ClassOfName finds them.
std::string_view RawExtension(std::string_view name)
{
    size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == name.size())
        return {};
    return name.substr(dot);
}

void LowerInto(std::string_view text, std::string& into)
{
    into.assign(text);
    for (char& c : into) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
}

}  // namespace

std::string ExtensionText(const std::string& extension)
{
    return extension.empty() ? "(no extension)" : extension;
}

std::string ExtensionOf(std::string_view name)
{
    std::string extension;
    LowerInto(RawExtension(name), extension);
    return extension;
}

FileTypes CountFileTypes(const SpaceTree& tree)
{
    FileTypes result;
    result.typeOf.assign(tree.Count(), FileTypes::kNoType);
    std::unordered_map<std::string, std::uint32_t> index;
    std::string key;
    for (std::uint32_t node = 0; node < tree.Count(); ++node) {
        const SpaceTree::Node& entry = tree.At(node);
        if (entry.folder || entry.removed || entry.linked)
            continue;
        LowerInto(RawExtension(tree.Name(node)), key);
        auto [found, added] = index.try_emplace(key, static_cast<std::uint32_t>(result.types.size()));
        if (added)
            result.types.push_back({key, entry.fileClass});
        FileType& type = result.types[found->second];
        type.size += entry.size;
        type.onDisk += entry.onDisk;
        ++type.files;
        result.onDisk += entry.onDisk;
        result.typeOf[node] = found->second;
    }
    // Largest first: the types, and the nodes' numbers with them.
    std::vector<std::uint32_t> order(result.types.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const FileType &first = result.types[a], &second = result.types[b];
        return first.onDisk != second.onDisk ? first.onDisk > second.onDisk : first.size > second.size;
    });
    std::vector<std::uint32_t> placeOf(order.size());
    std::vector<FileType> sorted;
    sorted.reserve(order.size());
    for (std::uint32_t place = 0; place < order.size(); ++place) {
        placeOf[order[place]] = place;
        sorted.push_back(std::move(result.types[order[place]]));
    }
    result.types = std::move(sorted);
    for (std::uint32_t& type : result.typeOf) {
        if (type != FileTypes::kNoType)
            type = placeOf[type];
    }
    return result;
}

std::uint32_t FileTypes::Find(std::string_view extension) const
{
    for (std::uint32_t type = 0; type < types.size(); ++type) {
        if (types[type].extension == extension)
            return type;
    }
    return kNoType;
}

std::vector<bool> FileTypes::NodesOf(const std::vector<bool>& chosen) const
{
    std::vector<bool> nodes(typeOf.size());
    for (size_t node = 0; node < typeOf.size(); ++node)
        nodes[node] = typeOf[node] != kNoType && chosen[typeOf[node]];
    return nodes;
}

std::vector<std::uint32_t> FileTypes::FilesOf(const SpaceTree& tree, const std::vector<bool>& chosen) const
{
    std::vector<std::uint32_t> files;
    for (std::uint32_t node = 0; node < typeOf.size(); ++node) {
        if (typeOf[node] != kNoType && chosen[typeOf[node]])
            files.push_back(node);
    }
    std::stable_sort(files.begin(), files.end(), [&](std::uint32_t a, std::uint32_t b) {
        const SpaceTree::Node &first = tree.At(a), &second = tree.At(b);
        return first.onDisk != second.onDisk ? first.onDisk > second.onDisk : first.size > second.size;
    });
    return files;
}
