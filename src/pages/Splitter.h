// A bar between two panes, one above the other, that the user drags to
// share the height between them.
#pragma once

#include "framework/Window.h"

class CSplitter : public framework::Window {
public:
    bool Create(HWND parent, UINT id);
    // The upper pane, the bar and the lower pane in the area, the bar where the user left it.
    void Arrange(const RECT& area, HWND upper, HWND lower);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnDrag(int y);

    int m_grip = -1;  // where in the bar the mouse took it, while dragging
    RECT m_area{};
    HWND m_upper = nullptr;
    HWND m_lower = nullptr;
    double m_share = 0.55;  // of the height, the upper pane's
};
