// The application object: start-up and the message loop.
#pragma once

#include "framework/Window.h"

#include <windows.h>

namespace framework {

class Application : NonCopyable {
public:
    Application() noexcept;
    virtual ~Application();

    // The one application object of the process.
    static Application* Current() noexcept;

    // Runs InitInstance, then the message loop until WM_QUIT; returns its code.
    int Run();

    // False ends the program at once.
    virtual bool InitInstance() = 0;

    // Every queued message passes here before it is dispatched; true means it
    // has been handled. By default the target window and its parents are
    // offered the message in turn.
    virtual bool PreTranslateMessage(MSG& msg);
};

// Shows the wait cursor for its lifetime.
class WaitCursor : NonCopyable {
public:
    WaitCursor() noexcept;
    ~WaitCursor();

    // For WM_SETCURSOR: while some wait cursor lives, shows it again and
    // returns true, as every mouse move would otherwise put the window's own back.
    static bool Restore() noexcept;

private:
    HCURSOR m_previous;
};

}  // namespace framework
