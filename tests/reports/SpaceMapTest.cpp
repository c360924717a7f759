#include "reports/SpaceMap.h"
#include "reports/SpaceMapView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

std::string Text(const RECT& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom);
}

long long Area(const RECT& rect)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return 0;
    return static_cast<long long>(rect.right - rect.left) * (rect.bottom - rect.top);
}

// The rectangles lie in the area, overlap nowhere and cover all of it.
void ExpectTiling(const std::vector<RECT>& rects, const RECT& area)
{
    long long covered = 0;
    for (size_t i = 0; i < rects.size(); ++i) {
        if (Area(rects[i]) == 0)
            continue;
        covered += Area(rects[i]);
        EXPECT_TRUE(rects[i].left >= area.left && rects[i].top >= area.top && rects[i].right <= area.right &&
                    rects[i].bottom <= area.bottom)
            << Text(rects[i]) << " outside " << Text(area);
        for (size_t j = 0; j < i; ++j) {
            RECT common;
            EXPECT_FALSE(IntersectRect(&common, &rects[i], &rects[j])) << Text(rects[i]) << " on " << Text(rects[j]);
        }
    }
    EXPECT_EQ(covered, Area(area)) << "in " << Text(area);
}

// Sizes from a byte to gigabytes, as on a real disk.
std::uint64_t RandomSize(std::mt19937& random)
{
    return (std::uint64_t{1} << random() % 34) + random() % 1000;
}

// Fills the open folder with files (some empty) and folders (some empty); returns its total.
std::uint64_t Grow(SpaceTree& tree, std::mt19937& random, int depth)
{
    std::uint64_t total = 0;
    for (int file = static_cast<int>(random() % 12); file > 0; --file) {
        std::uint64_t size = random() % 8 == 0 ? 0 : RandomSize(random);
        tree.AddFile("f" + std::to_string(file) + ".jpg", size, size);
        total += size;
    }
    for (int folder = depth < 4 ? static_cast<int>(random() % 4) : 0; folder > 0; --folder) {
        tree.OpenFolder("d" + std::to_string(folder));
        std::uint64_t inner = Grow(tree, random, depth + 1);
        tree.CloseFolder(inner, inner);
        total += inner;
    }
    return total;
}

bool Framed(const RECT& rect)
{
    return rect.right - rect.left >= 4 && rect.bottom - rect.top >= 4;
}

}  // namespace

TEST(SpaceMapTest, SquarifiedLayoutTilesTheAreaInProportionToTheSizes)
{
    std::mt19937 random(20);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint64_t> sizes(1 + random() % 80);
        for (std::uint64_t& size : sizes)
            size = RandomSize(random);
        std::sort(sizes.rbegin(), sizes.rend());
        LONG left = static_cast<LONG>(random() % 100) - 50, top = static_cast<LONG>(random() % 100) - 50;
        RECT area{left, top, left + 1 + static_cast<LONG>(random() % 600), top + 1 + static_cast<LONG>(random() % 600)};

        std::vector<RECT> rects = SquarifiedLayout(sizes, area);
        ASSERT_EQ(rects.size(), sizes.size());
        ExpectTiling(rects, area);
        double total = 0;
        for (std::uint64_t size : sizes)
            total += static_cast<double>(size);
        // Rounding moves each edge by at most half a pixel.
        for (size_t i = 0; i < rects.size(); ++i) {
            double wanted = static_cast<double>(sizes[i]) / total * static_cast<double>(Area(area));
            LONG width = std::max(rects[i].right - rects[i].left, 0L),
                 height = std::max(rects[i].bottom - rects[i].top, 0L);
            EXPECT_LE(std::abs(static_cast<double>(Area(rects[i])) - wanted), width + height + 1.001)
                << "size " << sizes[i] << " of " << total << " at " << Text(rects[i]);
        }
    }
    EXPECT_TRUE(SquarifiedLayout({}, RECT{0, 0, 10, 10}).empty());
    for (const RECT& rect : SquarifiedLayout(std::vector<std::uint64_t>{5, 3}, RECT{0, 0, 0, 10}))
        EXPECT_EQ(Area(rect), 0);
}

// The example the method was first shown with: 6, 6, 4, 3, 2, 2, 1 in a 6 by 4 rectangle.
TEST(SpaceMapTest, SquarifiedLayoutOfTheKnownExample)
{
    std::vector<std::uint64_t> sizes{6, 6, 4, 3, 2, 2, 1};
    std::vector<std::string> texts;
    for (const RECT& rect : SquarifiedLayout(sizes, RECT{0, 0, 600, 400}))
        texts.push_back(Text(rect));
    EXPECT_EQ(texts, (std::vector<std::string>{"0,0,300,200", "0,200,300,400", "300,0,471,233", "471,0,600,233",
                                               "300,233,420,400", "420,233,540,400", "540,233,600,400"}));
}

TEST(SpaceMapTest, FoldersNestTheirTilesInsideTheirFrame)
{
    for (unsigned seed = 1; seed <= 30; ++seed) {
        std::mt19937 random(seed);
        SpaceTree tree;
        tree.Start("C:\\target");
        std::uint64_t total = Grow(tree, random, 0);
        tree.CloseFolder(total, total);
        for (SIZE picture : {SIZE{1024, 768}, SIZE{300, 200}, SIZE{37, 500}, SIZE{5, 5}}) {
            SpaceMap map;
            map.Layout(tree, tree.Root(), picture.cx, picture.cy);
            const std::vector<MapTile>& tiles = map.Tiles();
            if (tree.At(tree.Root()).size == 0) {
                EXPECT_TRUE(tiles.empty());
                continue;
            }
            ASSERT_FALSE(tiles.empty());
            EXPECT_EQ(tiles[0].node, tree.Root());
            EXPECT_EQ(Text(tiles[0].rect), Text(RECT{0, 0, picture.cx, picture.cy}));

            std::map<std::uint32_t, std::vector<RECT>> inside;
            for (size_t i = 1; i < tiles.size(); ++i) {
                std::uint32_t parent = tree.At(tiles[i].node).parent;
                EXPECT_GT(tree.At(tiles[i].node).size, 0u);
                RECT parentRect = map.RectOf(parent);
                EXPECT_TRUE(Framed(parentRect)) << Text(parentRect);
                EXPECT_TRUE(std::any_of(tiles.begin(), tiles.begin() + static_cast<std::ptrdiff_t>(i),
                                        [&](const MapTile& tile) { return tile.node == parent; }));
                inside[parent].push_back(tiles[i].rect);
            }
            for (const auto& [folder, rects] : inside) {
                RECT frame = map.RectOf(folder);
                ExpectTiling(rects, RECT{frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1});
            }
        }
    }
}

TEST(SpaceMapTest, NodeAtFindsTheDeepestTile)
{
    SpaceTree tree;
    tree.Start("C:\\target");
    tree.AddFile("big.zip", 5'000'000, 5'000'000);
    tree.AddFile("empty.txt", 0, 0);
    tree.OpenFolder("docs");
    tree.AddFile("a.txt", 3'000'000, 3'000'000);
    tree.AddFile("b.txt", 1'999'999, 1'999'999);
    tree.AddFile("tiny.txt", 1, 1);
    tree.CloseFolder(5'000'000, 5'000'000);
    tree.CloseFolder(10'000'000, 10'000'000);
    SpaceMap map;
    map.Layout(tree, tree.Root(), 202, 102);

    std::uint32_t big = tree.Find("C:\\target\\big.zip"), docs = tree.Find("C:\\target\\docs");
    std::uint32_t a = tree.Find("C:\\target\\docs\\a.txt");
    EXPECT_EQ(Text(map.RectOf(big)), "1,1,101,101");
    EXPECT_EQ(Text(map.RectOf(docs)), "101,1,201,101");
    RECT rectA = map.RectOf(a);
    EXPECT_EQ(map.NodeAt(POINT{(rectA.left + rectA.right) / 2, (rectA.top + rectA.bottom) / 2}), a);
    EXPECT_EQ(map.NodeAt(POINT{101, 50}), docs);
    EXPECT_EQ(map.NodeAt(POINT{0, 0}), tree.Root());
    EXPECT_EQ(map.NodeAt(POINT{-1, 5}), SpaceTree::kNone);
    EXPECT_EQ(map.NodeAt(POINT{202, 5}), SpaceTree::kNone);
    EXPECT_EQ(Area(map.RectOf(tree.Find("C:\\target\\empty.txt"))), 0);
    EXPECT_EQ(Area(map.RectOf(tree.Find("C:\\target\\docs\\tiny.txt"))), 0);

    map.Layout(tree, docs, 50, 50);
    EXPECT_EQ(map.NodeAt(POINT{0, 0}), docs);
    EXPECT_EQ(Area(map.RectOf(big)), 0);
}

// What went is marked as such: an empty file or folder that stays is not gone.
TEST(SpaceMapTest, WhatWentIsMarkedAndWhatHoldsNothingStays)
{
    SpaceTree tree;
    tree.Start("C:\\target");
    tree.AddFile("big.zip", 1000, 1000);
    tree.AddFile("empty.txt", 0, 0);
    tree.AddFile("gone.txt", 0, 0);
    tree.OpenFolder("empty");
    tree.CloseFolder(0, 0);
    tree.CloseFolder(1000, 1000);
    std::uint32_t big = tree.Find("C:\\target\\big.zip"), empty = tree.Find("C:\\target\\empty.txt");
    std::uint32_t gone = tree.Find("C:\\target\\gone.txt"), folder = tree.Find("C:\\target\\empty");
    CSpaceMapView view({[](std::uint32_t) {}, [] {}});
    view.SetTree(&tree);
    view.ZoomInto(folder);
    view.Select(folder);

    tree.Remove(std::vector<std::uint32_t>{gone, SpaceTree::kNone});
    view.Refresh();
    EXPECT_TRUE(tree.Removed(gone));
    EXPECT_FALSE(tree.Removed(empty));
    EXPECT_EQ(view.Folder(), folder);
    EXPECT_EQ(view.Selected(), folder);
    // Removed twice, a file shrinks its folders once.
    tree.Remove(std::vector<std::uint32_t>{big, big});
    tree.Remove(std::vector<std::uint32_t>{big});
    EXPECT_EQ(tree.At(tree.Root()).size, 0u);
    EXPECT_FALSE(tree.Removed(tree.Root()));

    tree.Remove(std::vector<std::uint32_t>{folder});
    view.Refresh();
    EXPECT_EQ(view.Folder(), tree.Root());
    EXPECT_EQ(view.Selected(), SpaceTree::kNone);
}

TEST(SpaceMapTest, FilesAreCushionsInTheirClassColour)
{
    std::vector<COLORREF> colours;
    for (int fileClass = 0; fileClass < kFileClassCount; ++fileClass)
        colours.push_back(FileClassColour(static_cast<FileClass>(fileClass)));
    std::sort(colours.begin(), colours.end());
    EXPECT_EQ(std::unique(colours.begin(), colours.end()), colours.end());

    SpaceTree tree;
    tree.Start("C:\\target");
    tree.AddFile("photo.jpg", 1000, 1000);
    tree.CloseFolder(1000, 1000);
    SpaceMap map;
    map.Layout(tree, tree.Root(), 40, 30);
    std::vector<std::uint32_t> pixels(40 * 30);
    map.Render(pixels.data());

    auto brightness = [&](int x, int y) {
        std::uint32_t pixel = pixels[y * 40 + x];
        return (pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF);
    };
    std::uint32_t centre = pixels[15 * 40 + 20];
    COLORREF colour = FileClassColour(FileClass::Pictures);
    double scale = brightness(20, 15) / double(GetRValue(colour) + GetGValue(colour) + GetBValue(colour));
    EXPECT_NEAR(centre >> 16 & 0xFF, GetRValue(colour) * scale, 2);
    EXPECT_NEAR(centre >> 8 & 0xFF, GetGValue(colour) * scale, 2);
    EXPECT_NEAR(centre & 0xFF, GetBValue(colour) * scale, 2);
    for (POINT edge : {POINT{1, 15}, POINT{38, 15}, POINT{20, 1}, POINT{20, 28}})
        EXPECT_GT(brightness(20, 15), brightness(edge.x, edge.y)) << edge.x << "," << edge.y;
    EXPECT_LT(brightness(0, 0), brightness(1, 1));
}
