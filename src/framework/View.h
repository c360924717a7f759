// The window that fills the frame's client area.
#pragma once

#include "framework/Window.h"

namespace framework {

class View : public Window {
public:
    bool Create(HWND frame, UINT id);
    // Key-down messages of the running program arrive here before they are
    // dispatched; true means the key has been handled.
    virtual bool PreTranslateKeyDown(MSG& msg);
};

}  // namespace framework
