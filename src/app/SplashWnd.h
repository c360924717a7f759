// The start-up picture, shown modally for three seconds.
#pragma once

#include "framework/Handle.h"
#include "framework/Window.h"

class CSplashWnd : public framework::Dialog {
public:
    static constexpr UINT_PTR kTimerId = 100;
    static constexpr UINT kShowMilliseconds = 3000;

    INT_PTR DoModal() noexcept;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;

private:
    void FitAroundPictures();

    framework::GdiObject<HBITMAP> m_picture;  // the 16-colour one, at the window's DPI
};
