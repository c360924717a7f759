// The space map control: the picture of one folder of the analysis's tree,
// with the file classes' legend below it. A click selects what lies under
// the mouse (again: the folder holding it), a double-click zooms into the
// folder below the one shown, Backspace goes back up.
#pragma once

#include "framework/Handle.h"
#include "framework/Window.h"
#include "reports/SpaceMap.h"

#include <cstdint>
#include <functional>

class PrintTarget;

class CSpaceMapView : public framework::Window {
public:
    // What the page hears of: the node under the mouse (kNone when it left),
    // and a new selection or zoom.
    struct Events {
        std::function<void(std::uint32_t)> hover;
        std::function<void()> changed;
    };

    explicit CSpaceMapView(Events events) : m_events(std::move(events)) {}

    bool Create(HWND parent, UINT id);
    // Shows the whole tree, nothing selected.
    void SetTree(const SpaceTree* tree);
    const SpaceTree* Tree() const noexcept { return m_tree; }
    // After nodes were removed: lays the map out again, the selection dropped
    // when it went.
    void Refresh();

    // Selects the node (kNone: nothing); a node outside the folder shown
    // brings back the whole tree.
    void Select(std::uint32_t node);
    std::uint32_t Selected() const noexcept { return m_selected; }
    // The folder shown; Up shows the one holding it and returns false at the top.
    std::uint32_t Folder() const noexcept { return m_folder; }
    void ZoomInto(std::uint32_t folder);
    bool Up();
    bool CanGoUp() const;

    // Lights the nodes marked in lit and dims the others (empty: all lit).
    void Light(std::vector<bool> lit);

    // The map as it stands, laid out for the control's present size.
    const SpaceMap& Map();
    // Prints the map scaled to one page.
    void Print(PrintTarget& target, int pageWidth, int pageHeight);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    int Scaled(int pixels) const noexcept;
    void OnPaint();
    void OnMouseMove(POINT point);
    void OnClick(POINT point);
    void OnDoubleClick(POINT point);
    void DrawPicture();
    void DrawLegend(HDC dc, const RECT& band) const;
    void Invalidate();
    RECT MapRect() const;

    Events m_events;
    const SpaceTree* m_tree = nullptr;
    std::uint32_t m_folder = SpaceTree::kNone;
    std::uint32_t m_selected = SpaceTree::kNone;
    std::uint32_t m_hovered = SpaceTree::kNone;
    bool m_tracking = false;
    bool m_stale = true;
    SpaceMap m_map;
    // The map's picture, drawn once per layout.
    framework::OwnedDc m_pictureDc;
    framework::GdiObject<HBITMAP> m_picture;
};
