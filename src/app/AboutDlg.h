// The About box, with the maker's web site as a link.
#pragma once

#include "framework/Handle.h"
#include "framework/Window.h"

class CAboutDlg : public framework::Dialog {
public:
    static constexpr const char* kWebSite = "http://www.halvett.example/";

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;

private:
    void OnLButtonDown(POINT point);

    framework::GdiObject<HFONT> m_linkFont;
};
