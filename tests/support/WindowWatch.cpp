#include "support/WindowWatch.h"

#include <cstring>

namespace {
WindowWatch* g_watch = nullptr;
}

WindowWatch::WindowWatch()
{
    g_watch = this;
    m_cbtHook = ::SetWindowsHookExA(WH_CBT, OnCbt, nullptr, ::GetCurrentThreadId());
    m_messageHook = ::SetWindowsHookExA(WH_GETMESSAGE, OnGetMessage, nullptr, ::GetCurrentThreadId());
}

WindowWatch::~WindowWatch()
{
    ::UnhookWindowsHookEx(m_cbtHook);
    ::UnhookWindowsHookEx(m_messageHook);
    g_watch = nullptr;
}

DWORD WindowWatch::DestroyedAt(HWND hwnd) const
{
    auto found = m_destroyed.find(hwnd);
    return found == m_destroyed.end() ? 0 : found->second;
}

LRESULT CALLBACK WindowWatch::OnCbt(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && g_watch) {
        auto hwnd = reinterpret_cast<HWND>(wParam);
        const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        char className[64] = "";
        ::GetClassNameA(hwnd, className, sizeof className);
        if (std::strcmp(className, "#32770") == 0 && !(create->style & WS_CHILD))
            g_watch->m_dialogs.push_back(hwnd);
    }
    if (code == HCBT_DESTROYWND && g_watch)
        g_watch->m_destroyed[reinterpret_cast<HWND>(wParam)] = ::GetTickCount();
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WindowWatch::OnGetMessage(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_KEYDOWN && g_watch)
        g_watch->m_keysDown.push_back(msg->wParam);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
