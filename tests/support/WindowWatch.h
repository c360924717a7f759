// Watches what the test's thread does with windows: the top-level dialogs it
// creates and the keys that reach its queue.
#pragma once

#include <windows.h>

#include <map>
#include <vector>

class WindowWatch {
public:
    WindowWatch();
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;
    ~WindowWatch();

    const std::vector<HWND>& Dialogs() const { return m_dialogs; }
    const std::vector<WPARAM>& KeysDown() const { return m_keysDown; }
    // The tick count at which a window was destroyed (0: not yet).
    DWORD DestroyedAt(HWND hwnd) const;

private:
    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK OnGetMessage(int code, WPARAM wParam, LPARAM lParam);

    HHOOK m_cbtHook = nullptr;
    HHOOK m_messageHook = nullptr;
    std::vector<HWND> m_dialogs;
    std::vector<WPARAM> m_keysDown;
    std::map<HWND, DWORD> m_destroyed;
};
