#include "app/AboutDlg.h"

#include "framework/Seams.h"
#include "framework/Win32.h"
#include "resources/resource.h"

#include <windowsx.h>

BOOL CAboutDlg::OnInitDialog()
{
    Dialog::OnInitDialog();
    m_linkFont.reset(::CreateFontA(14, 0, 0, 0, FW_BOLD, FALSE, TRUE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS San Serif"));
    ::SendDlgItemMessageA(m_hWnd, IDC_WEBSITE, WM_SETFONT, reinterpret_cast<WPARAM>(m_linkFont.get()), FALSE);
    return TRUE;
}

LRESULT CAboutDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
        OnLButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        break;  // default handling follows in every case
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == ::GetDlgItem(m_hWnd, IDC_WEBSITE)) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, RGB(0, 128, 0));
            ::SetBkColor(dc, ::GetSysColor(COLOR_3DFACE));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_3DFACE));
        }
        break;
    }
    return Dialog::HandleMessage(msg, wParam, lParam);
}

void CAboutDlg::OnLButtonDown(POINT point)
{
    RECT link = framework::ChildRect(::GetDlgItem(m_hWnd, IDC_WEBSITE));
    if (::PtInRect(&link, point))
        framework::GetSeams().shellExecute(m_hWnd, "open", kWebSite, nullptr, nullptr, SW_SHOWNORMAL);
}
