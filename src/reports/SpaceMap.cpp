#include "reports/SpaceMap.h"

#include <algorithm>
#include <cmath>

namespace {

// Each level of the tree raises a ridge on the cushion, lower the deeper it lies.
constexpr double kRidgeHeight = 0.5;
constexpr double kRidgeFalloff = 0.75;
// A folder needs room for its frame and at least a pixel or two inside it.
constexpr int kSmallestFramed = 4;

// Light from the upper left and mostly from the front, (-1, -1, 10) made a
// unit vector: a flat tile shows its colour almost unchanged.
constexpr double kLightLength = 10.099504938362077;
constexpr double kLightX = -1 / kLightLength;
constexpr double kLightY = -1 / kLightLength;
constexpr double kLightZ = 10 / kLightLength;
constexpr double kAmbient = 0.25;
constexpr double kDiffuse = 0.75;

// A COLORREF holds red in its low byte, a pixel in its third.
constexpr std::uint32_t PixelOf(COLORREF colour)
{
    return (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}

constexpr COLORREF kFolderColour = RGB(0x90, 0x90, 0x90);
constexpr std::uint32_t kFolderFill = PixelOf(kFolderColour);
constexpr std::uint32_t kFolderFrame = PixelOf(RGB(0x40, 0x40, 0x40));

LONG Pixel(double coordinate)
{
    return static_cast<LONG>(std::floor(coordinate + 0.5));
}

// The worst aspect ratio in a row of areas of the given sum, largest and
// smallest, laid along a side of the given length.
double WorstRatio(double sum, double largest, double smallest, double side)
{
    double sideSquared = side * side;
    double sumSquared = sum * sum;
    return std::max(sideSquared * largest / sumSquared, sumSquared / (sideSquared * smallest));
}

// A cushion's ridge over [from, to): the parabola rising to height at the middle.
void AddRidge(double from, double to, double height, double& squared, double& linear)
{
    squared -= 4 * height / (to - from);
    linear += 4 * height * (to + from) / (to - from);
}

// What is not lit keeps a trace of its colour in the grey of the folders' fill.
COLORREF Dimmed(COLORREF colour)
{
    constexpr int kKept = 30, kGrey = 0xB0;  // per cent of the colour
    auto mix = [](int part) { return static_cast<BYTE>((part * kKept + kGrey * (100 - kKept)) / 100); };
    return RGB(mix(GetRValue(colour)), mix(GetGValue(colour)), mix(GetBValue(colour)));
}

void Fill(std::uint32_t* pixels, int width, const RECT& rect, std::uint32_t colour)
{
    for (LONG y = rect.top; y < rect.bottom; ++y)
        std::fill(pixels + y * width + rect.left, pixels + y * width + rect.right, colour);
}

void Cushion(std::uint32_t* pixels, int width, const MapTile& tile, COLORREF colour)
{
    const double red = GetRValue(colour), green = GetGValue(colour), blue = GetBValue(colour);
    const double sx2 = tile.surface[0], sx = tile.surface[1], sy2 = tile.surface[2], sy = tile.surface[3];
    for (LONG y = tile.rect.top; y < tile.rect.bottom; ++y) {
        double ny = -(2 * sy2 * (y + 0.5) + sy);
        std::uint32_t* row = pixels + y * width;
        for (LONG x = tile.rect.left; x < tile.rect.right; ++x) {
            double nx = -(2 * sx2 * (x + 0.5) + sx);
            double cosine = (nx * kLightX + ny * kLightY + kLightZ) / std::sqrt(nx * nx + ny * ny + 1);
            double light = kAmbient + kDiffuse * std::max(cosine, 0.0);
            row[x] = PixelOf(RGB(red * light + 0.5, green * light + 0.5, blue * light + 0.5));
        }
    }
}

}  // namespace

std::vector<RECT> SquarifiedLayout(std::span<const std::uint64_t> sizes, const RECT& area)
{
    std::vector<RECT> rects(sizes.size(), RECT{area.right, area.bottom, area.right, area.bottom});
    double total = 0;
    for (std::uint64_t size : sizes)
        total += static_cast<double>(size);
    if (total <= 0 || area.right <= area.left || area.bottom <= area.top)
        return rects;
    double left = area.left, top = area.top;
    const double right = area.right, bottom = area.bottom;
    const double scale = (right - left) * (bottom - top) / total;
    auto areaOf = [&](size_t index) { return static_cast<double>(sizes[index]) * scale; };

    size_t count = sizes.size();
    while (sizes[count - 1] == 0)
        --count;
    size_t first = 0;
    while (first < count && right > left && bottom > top) {
        // A row runs along the shorter side: down a column at the left, or
        // across a row at the top.
        bool column = right - left >= bottom - top;
        double side = column ? bottom - top : right - left;
        double sum = areaOf(first);
        double worst = WorstRatio(sum, sum, sum, side);
        size_t end = first + 1;
        for (; end < count; ++end) {
            double next = areaOf(end);
            double ratio = WorstRatio(sum + next, areaOf(first), next, side);
            if (ratio > worst)
                break;
            sum += next;
            worst = ratio;
        }
        // The last row ends at the far edge, whatever the rounding errors
        // of the rows before it.
        double thickness = sum / side;
        double edge = column ? std::min(left + thickness, right) : std::min(top + thickness, bottom);
        if (end == count)
            edge = column ? right : bottom;
        // Each edge is rounded from the one coordinate both its neighbours share.
        double start = column ? top : left;
        double stop = column ? bottom : right;
        double from = start;
        double along = 0;
        for (size_t index = first; index < end; ++index) {
            along += areaOf(index);
            double to = index + 1 == end ? stop : start + along / thickness;
            rects[index] = column ? RECT{Pixel(left), Pixel(from), Pixel(edge), Pixel(to)}
                                  : RECT{Pixel(from), Pixel(top), Pixel(to), Pixel(edge)};
            from = to;
        }
        (column ? left : top) = edge;
        first = end;
    }
    return rects;
}

COLORREF FileClassColour(FileClass fileClass)
{
    static constexpr COLORREF kColours[kFileClassCount] = {
        RGB(0x4E, 0x9B, 0xD9),  // pictures: blue
        RGB(0xE1, 0x57, 0x59),  // video and audio: red
        RGB(0xF2, 0xB4, 0x47),  // archives: amber
        RGB(0x59, 0xA1, 0x4F),  // programs and libraries: green
        RGB(0xB0, 0x7A, 0xA1),  // documents: plum
        RGB(0xFF, 0x9D, 0xA7),  // temporary and backup: pink
        RGB(0x76, 0xB7, 0xB2),  // text and source: teal
        RGB(0xC8, 0xBC, 0xA8),  // other: sand
    };
    return kColours[static_cast<int>(fileClass)];
}

void SpaceMap::Layout(const SpaceTree& tree, std::uint32_t folder, int width, int height, int frame)
{
    m_tree = &tree;
    m_frame = std::max(frame, 1);
    m_folder = folder;
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    m_tiles.clear();
    if (folder < tree.Count())
        Place(folder, RECT{0, 0, m_width, m_height}, Surface{}, kRidgeHeight);
}

void SpaceMap::Place(std::uint32_t node, const RECT& rect, Surface surface, double ridge)
{
    const SpaceTree::Node& entry = m_tree->At(node);
    // What went is not drawn; what holds nothing has no area to draw.
    if (entry.removed || entry.onDisk == 0 || rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    AddRidge(rect.left, rect.right, ridge, surface[0], surface[1]);
    AddRidge(rect.top, rect.bottom, ridge, surface[2], surface[3]);
    m_tiles.push_back(MapTile{rect,
                              node,
                              {static_cast<float>(surface[0]), static_cast<float>(surface[1]),
                               static_cast<float>(surface[2]), static_cast<float>(surface[3])},
                              m_lit.empty() || m_lit[node]});
    if (!entry.folder || !Framed(rect))
        return;
    std::vector<std::uint32_t> children;
    std::vector<std::uint64_t> sizes;
    for (std::uint32_t child : m_tree->Children(node)) {
        if (!m_tree->Removed(child) && m_tree->At(child).onDisk > 0) {
            children.push_back(child);
            sizes.push_back(m_tree->At(child).onDisk);
        }
    }
    std::vector<RECT> rects = SquarifiedLayout(sizes, Inside(rect));
    for (size_t index = 0; index < children.size(); ++index)
        Place(children[index], rects[index], surface, ridge * kRidgeFalloff);
}

bool SpaceMap::Framed(const RECT& rect) const noexcept
{
    int smallest = kSmallestFramed * m_frame;
    return rect.right - rect.left >= smallest && rect.bottom - rect.top >= smallest;
}

RECT SpaceMap::Inside(const RECT& rect) const noexcept
{
    return RECT{rect.left + m_frame, rect.top + m_frame, rect.right - m_frame, rect.bottom - m_frame};
}

void SpaceMap::Light(std::vector<bool> lit)
{
    m_lit = std::move(lit);
    for (MapTile& tile : m_tiles)
        tile.lit = m_lit.empty() || m_lit[tile.node];
}

void SpaceMap::Render(std::uint32_t* pixels) const
{
    bool dimming = !m_lit.empty();
    auto shade = [&](COLORREF colour, bool lit) { return lit ? colour : Dimmed(colour); };
    std::fill(pixels, pixels + static_cast<size_t>(m_width) * m_height,
              dimming ? PixelOf(Dimmed(kFolderColour)) : kFolderFill);
    for (const MapTile& tile : m_tiles) {
        const SpaceTree::Node& entry = m_tree->At(tile.node);
        if (!entry.folder) {
            Cushion(pixels, m_width, tile, shade(FileClassColour(entry.fileClass), tile.lit));
        } else if (!Framed(tile.rect)) {
            Cushion(pixels, m_width, tile, shade(kFolderColour, tile.lit));
        } else {
            const RECT& rect = tile.rect;
            Fill(pixels, m_width, rect, kFolderFrame);
            Fill(pixels, m_width, Inside(rect), PixelOf(shade(kFolderColour, tile.lit)));
        }
    }
}

std::uint32_t SpaceMap::NodeAt(POINT point) const
{
    // Children come after their parents, so the last tile that holds the
    // point is the deepest.
    for (auto tile = m_tiles.rbegin(); tile != m_tiles.rend(); ++tile) {
        const RECT& rect = tile->rect;
        if (point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom)
            return tile->node;
    }
    return SpaceTree::kNone;
}

RECT SpaceMap::RectOf(std::uint32_t node) const
{
    for (const MapTile& tile : m_tiles) {
        if (tile.node == node)
            return tile.rect;
    }
    return RECT{};
}
