#include "framework/Application.h"

namespace framework {

namespace {
Application* g_current = nullptr;
int g_waitCursors = 0;

HCURSOR Hourglass()
{
    return ::LoadCursorA(nullptr, IDC_WAIT);
}
}  // namespace

Application::Application() noexcept
{
    g_current = this;
}

Application::~Application()
{
    if (g_current == this)
        g_current = nullptr;
}

Application* Application::Current() noexcept
{
    return g_current;
}

int Application::Run()
{
    if (!InitInstance())
        return 0;
    MSG msg{};
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!PreTranslateMessage(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

bool Application::PreTranslateMessage(MSG& msg)
{
    for (HWND hwnd = msg.hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        if (Window* wnd = Window::FromHandle(hwnd); wnd && wnd->PreTranslateMessage(msg))
            return true;
        if (!(::GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD))
            break;
    }
    return false;
}

WaitCursor::WaitCursor() noexcept : m_previous(::SetCursor(Hourglass()))
{
    ++g_waitCursors;
}

WaitCursor::~WaitCursor()
{
    --g_waitCursors;
    ::SetCursor(m_previous);
}

bool WaitCursor::Restore() noexcept
{
    if (g_waitCursors == 0)
        return false;
    ::SetCursor(Hourglass());
    return true;
}

}  // namespace framework
