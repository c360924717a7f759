#include "reports/FileTypes.h"
#include "reports/SpaceMap.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

// What the test expects of one extension.
struct Expected {
    std::uint64_t size = 0;
    std::uint64_t onDisk = 0;
    std::uint64_t files = 0;
};

// Names whose extensions differ only in case, none, a dot alone, a leading dot.
const char* const kNames[] = {"a.ISO", "b.iso", "c.Iso", "d.txt", "e.TXT", "readme", "f.", ".profile", "g.tar.GZ"};

std::string Folded(const char* name)
{
    static const std::map<std::string, std::string> kFolded = {
        {"a.ISO", ".iso"}, {"b.iso", ".iso"}, {"c.Iso", ".iso"}, {"d.txt", ".txt"},  {"e.TXT", ".txt"},
        {"readme", ""},    {"f.", ""},        {".profile", ""},  {"g.tar.GZ", ".gz"}};
    return kFolded.at(name);
}

// A tree of random files, some further names of a file and some removed;
// the totals the test counts itself as it builds it.
struct BuiltTree {
    SpaceTree tree;
    std::map<std::string, Expected> expected;
    std::vector<std::string> removed;
};

std::uint64_t Fill(BuiltTree& built, std::mt19937& random, const std::string& path, int depth)
{
    std::uint64_t total = 0;
    for (int file = 0; file < 30; ++file) {
        const char* name = kNames[random() % std::size(kNames)];
        // Numbered, the extension kept: a leading dot stays the name's first character.
        std::string unique = name[0] == '.' ? name + std::to_string(file) : std::to_string(file) + name;
        if (random() % 10 == 0) {
            built.tree.AddLink(unique);
            continue;
        }
        std::uint64_t size = random() % 100000, onDisk = (size + 4095) / 4096 * 4096;
        built.tree.AddFile(unique, size, onDisk);
        total += onDisk;
        if (random() % 8 == 0) {
            built.removed.push_back(path + "\\" + unique);
            continue;
        }
        Expected& counted = built.expected[Folded(name)];
        counted.size += size;
        counted.onDisk += onDisk;
        ++counted.files;
    }
    for (int folder = depth < 2 ? 3 : 0; folder > 0; --folder) {
        std::string name = "d" + std::to_string(folder);
        built.tree.OpenFolder(name);
        std::uint64_t inner = Fill(built, random, path + "\\" + name, depth + 1);
        built.tree.CloseFolder(inner, inner);
        total += inner;
    }
    return total;
}

void Build(BuiltTree& built)
{
    std::mt19937 random(29);
    built.tree.Start("C:\\t");
    std::uint64_t total = Fill(built, random, "C:\\t", 0);
    built.tree.CloseFolder(total, total);
    built.tree.Remove(built.tree.FindAll(built.removed));
}

}  // namespace

TEST(FileTypesTest, EveryExtensionHoldsExactlyItsFilesWhateverTheirCase)
{
    BuiltTree built;
    Build(built);
    FileTypes types = CountFileTypes(built.tree);

    ASSERT_EQ(types.types.size(), built.expected.size());
    std::uint64_t onDisk = 0;
    for (size_t type = 0; type < types.types.size(); ++type) {
        const FileType& found = types.types[type];
        const Expected& expected = built.expected.at(found.extension);
        EXPECT_EQ(found.size, expected.size) << found.extension;
        EXPECT_EQ(found.onDisk, expected.onDisk) << found.extension;
        EXPECT_EQ(found.files, expected.files) << found.extension;
        EXPECT_EQ(types.Find(found.extension), type);
        if (type > 0) {
            EXPECT_GE(types.types[type - 1].onDisk, found.onDisk);
        }
        onDisk += expected.onDisk;
    }
    EXPECT_EQ(types.onDisk, onDisk);
    EXPECT_EQ(types.types[types.Find(".txt")].fileClass, FileClass::Text);

    // A type's files: exactly the files counted in it, largest first.
    std::vector<bool> iso(types.types.size());
    iso[types.Find(".iso")] = true;
    std::vector<std::uint32_t> files = types.FilesOf(built.tree, iso);
    EXPECT_EQ(files.size(), built.expected.at(".iso").files);
    for (size_t i = 0; i < files.size(); ++i) {
        const SpaceTree::Node& node = built.tree.At(files[i]);
        EXPECT_FALSE(node.folder || node.removed || node.linked);
        EXPECT_EQ(ExtensionOf(built.tree.Name(files[i])), ".iso");
        if (i > 0) {
            EXPECT_GE(built.tree.At(files[i - 1]).onDisk, node.onDisk);
        }
    }
}

TEST(FileTypesTest, ChoosingATypeLightsExactlyTheTilesOfItsFiles)
{
    BuiltTree built;
    Build(built);
    FileTypes types = CountFileTypes(built.tree);
    std::vector<bool> chosen(types.types.size());
    chosen[types.Find(".txt")] = true;
    SpaceMap map;
    map.Layout(built.tree, built.tree.Root(), 1024, 768);
    map.Light(types.NodesOf(chosen));

    size_t lit = 0;
    for (const MapTile& tile : map.Tiles()) {
        bool txt = !built.tree.At(tile.node).folder && ExtensionOf(built.tree.Name(tile.node)) == ".txt";
        EXPECT_EQ(tile.lit, txt) << built.tree.Path(tile.node);
        if (!tile.lit)
            continue;
        ++lit;
        // The hit test finds the lit file where it is drawn.
        POINT centre{(tile.rect.left + tile.rect.right) / 2, (tile.rect.top + tile.rect.bottom) / 2};
        EXPECT_EQ(map.NodeAt(centre), tile.node);
    }
    EXPECT_GT(lit, 0u);

    // Lit in its colour; the rest, its colour dimmed.
    std::vector<std::uint32_t> pixels(1024 * 768), plain(1024 * 768);
    map.Render(pixels.data());
    const MapTile* litTile = nullptr;
    const MapTile* darkTile = nullptr;
    for (const MapTile& tile : map.Tiles()) {
        if (!built.tree.At(tile.node).folder && tile.rect.right - tile.rect.left > 4)
            (tile.lit ? litTile : darkTile) = &tile;
    }
    ASSERT_TRUE(litTile && darkTile);
    map.Light({});
    map.Render(plain.data());
    auto at = [](const std::vector<std::uint32_t>& picture, const MapTile* tile) {
        return picture[static_cast<size_t>((tile->rect.top + tile->rect.bottom) / 2) * 1024 +
                       static_cast<size_t>((tile->rect.left + tile->rect.right) / 2)];
    };
    EXPECT_EQ(at(pixels, litTile), at(plain, litTile));
    EXPECT_NE(at(pixels, darkTile), at(plain, darkTile));
    for (const MapTile& tile : map.Tiles())
        EXPECT_TRUE(tile.lit);
}
