// A bar between two panes, one above the other, that the user drags to
// share the height between them.
#pragma once

#include "framework/Window.h"

#include <functional>

class CSplitter : public framework::Window {
public:
    // moved: the bar's new top, in its parent's client coordinates.
    explicit CSplitter(std::function<void(int)> moved) : m_moved(std::move(moved)) {}

    bool Create(HWND parent, UINT id);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnDrag(int y);

    std::function<void(int)> m_moved;
    int m_grip = -1;  // where in the bar the mouse took it, while dragging
};
