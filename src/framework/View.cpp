#include "framework/View.h"

namespace framework {

bool View::Create(HWND frame, UINT id)
{
    WNDCLASSEXA wc{};
    wc.lpszClassName = "CorvaneView";
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterWindowClass(wc);
    return CreateEx(0, wc.lpszClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, RECT{}, frame,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

bool View::PreTranslateKeyDown(MSG&)
{
    return false;
}

}  // namespace framework
