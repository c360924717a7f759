// A C++ object bound to a window, and the same for dialogs.
#pragma once

#include "framework/Handle.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace framework {

class DataExchange;

class Window : NonCopyable {
public:
    // Destroys a window still alive, without routing its last messages to
    // this half-destroyed object.
    virtual ~Window();

    HWND GetSafeHwnd() const noexcept { return m_hWnd; }
    void DestroyWindow() noexcept;

    // The object behind a window created through this framework, or null.
    static Window* FromHandle(HWND hwnd) noexcept;

    // Offered every queued message aimed at this window or one of its
    // children before it is dispatched; true means it has been handled.
    virtual bool PreTranslateMessage(MSG& msg);

protected:
    // Registers the class once, with this framework's window procedure.
    static void RegisterWindowClass(WNDCLASSEXA wc) noexcept;
    bool CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, const RECT& rect, HWND parent,
                  HMENU menu) noexcept;

    // Every message of the window comes here. What it returns is the
    // message's result, in a window and in a dialog alike; a message it
    // leaves to Default() gets the system's own handling. The base decodes
    // WM_COMMAND, WM_NOTIFY and WM_DPICHANGED into the handlers below and leaves the rest
    // to Default().
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // A window's default procedure; a dialog's dialog manager.
    virtual LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

    // Each returns whether it handled the message. OnCommand is for menu and
    // accelerator commands (code 0 and 1, no control): a dialog wires its
    // controls with OnControl instead. The default passes BN_CLICKED from an
    // enabled button on to OnButtonClicked, which a dialog answers from its
    // control table.
    virtual bool OnCommand(UINT id, UINT code, HWND control);
    virtual bool OnButtonClicked(UINT) { return false; }
    // result: what the message returns.
    virtual bool OnNotify(const NMHDR&, LRESULT&) { return false; }
    // The window moved to a monitor of another DPI; suggested is where the
    // system proposes it stand, at the new DPI.
    virtual bool OnDpiChanged(UINT, const RECT&) { return false; }

    HWND m_hWnd = nullptr;

private:
    bool DecodeMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    friend class Dialog;
};

class Dialog : public Window {
public:
    // Modal: runs the dialog's own loop and returns the value given to EndDialog.
    INT_PTR DoModal(UINT templateId, HWND parent) noexcept;
    // Modeless: the dialog lives until DestroyWindow.
    bool Create(UINT templateId, HWND parent) noexcept;

    // Reads the controls into the members (save) or fills them from the members.
    void UpdateData(bool save);

    bool PreTranslateMessage(MSG& msg) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Leaves the message to the dialog manager, as a dialog procedure's FALSE does.
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) noexcept override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    // IDOK and IDCANCEL call OnOK and OnCancel, the others the handlers given
    // to OnControl.
    bool OnButtonClicked(UINT id) override;
    // Calls handler on the control's notification code: BN_CLICKED (from an
    // enabled button), CBN_SELCHANGE, ...
    void OnControl(UINT id, UINT code, std::function<void()> handler);

    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(DataExchange& dx);
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(INT_PTR result) noexcept;

private:
    struct ControlHandler {
        UINT id;
        UINT code;
        std::function<void()> handler;
    };
    bool CallControlHandler(UINT id, UINT code) const;
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    std::vector<ControlHandler> m_handlers;
    bool m_modal = false;
    // The message being handled went to Default().
    bool m_leftToDefault = false;
    friend class Window;
};

}  // namespace framework
