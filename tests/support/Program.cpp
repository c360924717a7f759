#include "support/ProgramTabs.h"

#include "support/Messages.h"

#include <commctrl.h>

void ShowTab(CTabView& view, int tab)
{
    ::SendMessageA(view.GetTabControl(), TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    NMHDR change{view.GetTabControl(), CTabView::kTabControlId, TCN_SELCHANGE};
    ::SendMessageA(view.GetSafeHwnd(), WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
    PumpPending();
    PumpPending();
}
