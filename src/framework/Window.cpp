#include "framework/Window.h"

#include "framework/DataExchange.h"
#include "framework/Win32.h"

#include <algorithm>
#include <utility>

namespace framework {

namespace {

bool IsFrameworkWindow(HWND hwnd, WNDPROC proc) noexcept
{
    return ::GetWindowLongPtrA(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(proc);
}

bool IsFrameworkDialog(HWND hwnd, DLGPROC proc) noexcept
{
    return ::GetClassLongPtrA(hwnd, GCW_ATOM) == reinterpret_cast<ULONG_PTR>(WC_DIALOG) &&
           ::GetWindowLongPtrA(hwnd, DWLP_DLGPROC) == reinterpret_cast<LONG_PTR>(proc);
}

// The messages whose result a dialog procedure returns itself instead of
// setting DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT msg) noexcept
{
    switch (msg) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    }
    return false;
}

}  // namespace

Window::~Window()
{
    if (!m_hWnd)
        return;
    HWND hwnd = std::exchange(m_hWnd, nullptr);
    if (IsFrameworkWindow(hwnd, &Window::WindowProc))
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    else if (IsFrameworkDialog(hwnd, &Dialog::DialogProc))
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    ::DestroyWindow(hwnd);
}

void Window::DestroyWindow() noexcept
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

Window* Window::FromHandle(HWND hwnd) noexcept
{
    if (!hwnd)
        return nullptr;
    if (IsFrameworkWindow(hwnd, &Window::WindowProc))
        return reinterpret_cast<Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (IsFrameworkDialog(hwnd, &Dialog::DialogProc))
        return reinterpret_cast<Window*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    return nullptr;
}

bool Window::PreTranslateMessage(MSG&)
{
    return false;
}

void Window::RegisterWindowClass(WNDCLASSEXA wc) noexcept
{
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Window::WindowProc;
    if (!wc.hInstance)
        wc.hInstance = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{sizeof existing};
    if (!::GetClassInfoExA(wc.hInstance, wc.lpszClassName, &existing))
        ::RegisterClassExA(&wc);
}

bool Window::CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, const RECT& rect,
                      HWND parent, HMENU menu) noexcept
{
    SIZE size = RectSize(rect);
    ::CreateWindowExA(exStyle, className, title, style, rect.left, rect.top, size.cx, size.cy, parent, menu,
                      ::GetModuleHandleA(nullptr), this);
    return m_hWnd != nullptr;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (DecodeMessage(msg, wParam, lParam, result))
        return result;
    return Default(msg, wParam, lParam);
}

bool Window::OnCommand(UINT id, UINT code, HWND control)
{
    // A message can still reach a disabled button: it does nothing, as a click
    // on it would.
    return code == BN_CLICKED && control && ::IsWindowEnabled(control) && OnButtonClicked(id);
}

bool Window::DecodeMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result);
    case WM_DPICHANGED:
        return OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    }
    return false;
}

LRESULT Window::Default(UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    return ::DefWindowProcA(m_hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_hWnd = hwnd;
    } else {
        self = reinterpret_cast<Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return ::DefWindowProcA(hwnd, msg, wParam, lParam);

    LRESULT result = self->HandleMessage(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
    }
    return result;
}

INT_PTR Dialog::DoModal(UINT templateId, HWND parent) noexcept
{
    m_modal = true;
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), parent, &Dialog::DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

bool Dialog::Create(UINT templateId, HWND parent) noexcept
{
    m_modal = false;
    ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), parent, &Dialog::DialogProc,
                         reinterpret_cast<LPARAM>(this));
    return m_hWnd != nullptr;
}

void Dialog::UpdateData(bool save)
{
    DataExchange dx(m_hWnd, save);
    DoDataExchange(dx);
}

bool Dialog::PreTranslateMessage(MSG& msg)
{
    return m_hWnd && ::IsDialogMessageA(m_hWnd, &msg);
}

LRESULT Dialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG)
        return OnInitDialog();
    LRESULT result = 0;
    if (DecodeMessage(msg, wParam, lParam, result))
        return result;
    return Default(msg, wParam, lParam);
}

LRESULT Dialog::Default(UINT, WPARAM, LPARAM) noexcept
{
    m_leftToDefault = true;
    return 0;
}

bool Dialog::OnCommand(UINT id, UINT code, HWND control)
{
    // A dialog has no menu: a command without a control is the dialog
    // manager's Enter or Escape, naming its button by id even where the
    // dialog has no such button.
    if (code == BN_CLICKED && !control) {
        HWND button = ::GetDlgItem(m_hWnd, static_cast<int>(id));
        return (!button || ::IsWindowEnabled(button)) && OnButtonClicked(id);
    }
    // Clicks come through OnButtonClicked, which skips disabled buttons.
    return (code != BN_CLICKED && CallControlHandler(id, code)) || Window::OnCommand(id, code, control);
}

bool Dialog::OnButtonClicked(UINT id)
{
    switch (id) {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    }
    return CallControlHandler(id, BN_CLICKED);
}

void Dialog::OnControl(UINT id, UINT code, std::function<void()> handler)
{
    m_handlers.push_back({id, code, std::move(handler)});
}

bool Dialog::CallControlHandler(UINT id, UINT code) const
{
    auto found = std::ranges::find_if(
        m_handlers, [&](const ControlHandler& entry) { return entry.id == id && entry.code == code; });
    if (found == m_handlers.end())
        return false;
    found->handler();
    return true;
}

BOOL Dialog::OnInitDialog()
{
    UpdateData(false);
    return TRUE;
}

void Dialog::DoDataExchange(DataExchange&) {}

void Dialog::OnOK()
{
    UpdateData(true);
    EndDialog(IDOK);
}

void Dialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void Dialog::EndDialog(INT_PTR result) noexcept
{
    if (m_modal)
        ::EndDialog(m_hWnd, result);
    else
        ::DestroyWindow(m_hWnd);
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    Dialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        ::SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->m_hWnd = hwnd;
    } else {
        self = reinterpret_cast<Dialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!self)
        return FALSE;

    // Saved and restored: a handler may send the dialog messages of its own.
    bool outer = std::exchange(self->m_leftToDefault, false);
    LRESULT result = self->HandleMessage(msg, wParam, lParam);
    bool handled = !std::exchange(self->m_leftToDefault, outer);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    if (!handled)
        return FALSE;
    if (ReturnsResultDirectly(msg))
        return result;
    ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace framework
