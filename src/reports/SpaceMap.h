// The space map's picture of one folder of a space tree: a squarified
// treemap, folders nested in their parents inside a thin frame, files as
// tiles shaded as cushions and coloured by their class.
#pragma once

#include "reports/SpaceTree.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// Areas proportional to the sizes (largest first, none zero) laid out in the
// rectangle by the squarified method. Edges are rounded to whole pixels, so
// that neighbours share them and the rectangles tile the area exactly; one
// smaller than a pixel mostly comes out empty.
std::vector<RECT> SquarifiedLayout(std::span<const std::uint64_t> sizes, const RECT& area);

// The colour of a file class on the map and in its legend.
COLORREF FileClassColour(FileClass fileClass);

struct MapTile {
    RECT rect;
    std::uint32_t node;
    float surface[4];  // the cushion's coefficients: x², x, y², y
    bool lit = true;   // drawn in its colours, not dimmed
};

class SpaceMap {
public:
    // Lays out the folder in a picture of width by height pixels, folders
    // framed frame pixels wide. Files and folders smaller than a pixel are
    // left to their folder's area.
    void Layout(const SpaceTree& tree, std::uint32_t folder, int width, int height, int frame = 1);
    // Lights the nodes marked in lit (by node) and dims every other tile;
    // empty: every tile lit. Kept for the layouts that follow.
    void Light(std::vector<bool> lit);
    // Draws the picture into width * height pixels, top row first, each
    // 0x00RRGGBB (the layout of a 32-bit top-down DIB section).
    void Render(std::uint32_t* pixels) const;

    // The node drawn at the point: a file's tile, or the folder whose frame
    // or merged area it is; kNone outside the picture.
    std::uint32_t NodeAt(POINT point) const;
    // Where the node is drawn; empty when it is not drawn.
    RECT RectOf(std::uint32_t node) const;

    std::uint32_t Folder() const noexcept { return m_folder; }
    int Width() const noexcept { return m_width; }
    int Height() const noexcept { return m_height; }
    // Parents before what lies in them.
    const std::vector<MapTile>& Tiles() const noexcept { return m_tiles; }

private:
    // The cushion's coefficients above a tile, in the order of MapTile::surface.
    using Surface = std::array<double, 4>;
    void Place(std::uint32_t node, const RECT& rect, Surface surface, double ridge);
    bool Framed(const RECT& rect) const noexcept;
    RECT Inside(const RECT& rect) const noexcept;

    const SpaceTree* m_tree = nullptr;
    std::uint32_t m_folder = SpaceTree::kNone;
    int m_width = 0;
    int m_height = 0;
    int m_frame = 1;
    std::vector<MapTile> m_tiles;
    std::vector<bool> m_lit;
};
