// The main window: menu, status bar and the view that fills it.
#pragma once

#include "framework/Controls.h"
#include "framework/Window.h"
#include "pages/TabView.h"

#include <memory>

class ListPage;
class SettingsStore;

class CMainFrame : public framework::Window {
public:
    // The window's size where the pages fit in it, in 96-DPI pixels; a wider
    // dialog font makes it larger.
    static constexpr int kWidth = 620;
    static constexpr int kHeight = 400;
    static constexpr int kMinTrackWidth = 620;
    static constexpr int kMinTrackHeight = 410;

    explicit CMainFrame(const SettingsStore& settings) : m_settings(settings) {}
    // The window goes first, while the view it routes to still exists.
    ~CMainFrame() override { DestroyWindow(); }

    // Creates the window hidden; the caller shows it.
    bool Create();
    // Shows a whole tree saved by /analyze on the Reports results page.
    void OpenAnalysis(const std::string& path);
    framework::View* GetActiveView() const noexcept { return m_view.get(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnDpiChanged(UINT dpi, const RECT& suggested) override;

private:
    int OnCreate();
    void OnClose();
    void OnDestroy();
    void OnSize();
    void FitPages();
    void OnGetMinMaxInfo(MINMAXINFO& info);
    int Scaled(int pixels) const noexcept;
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    void OnInitMenuPopup(HMENU menu);
    // The page on show when its list holds results, else null.
    const ListPage* ExportablePage() const;
    void OnExportList();
    void OnOpenAnalysis();
    void CenterOnDesktop();
    void ShowIdleText();

    const SettingsStore& m_settings;
    std::unique_ptr<CTabView> m_view;
    framework::StatusBar m_statusBar;
    SIZE m_fitted{kWidth, kHeight};
    // Closed while a long operation held the window: close when it is given back.
    bool m_closeWhenEnabled = false;
};
