#include "framework/DataExchange.h"

#include "framework/Text.h"

namespace framework {

void DataExchange::Text(int controlId, std::string& value)
{
    HWND control = ::GetDlgItem(m_dialog, controlId);
    if (m_save)
        value = GetWindowTextString(control);
    else
        ::SetWindowTextA(control, value.c_str());
}

void DataExchange::Check(int controlId, int& value)
{
    if (m_save)
        value = ::IsDlgButtonChecked(m_dialog, controlId) == BST_CHECKED ? 1 : 0;
    else
        ::CheckDlgButton(m_dialog, controlId, value ? BST_CHECKED : BST_UNCHECKED);
}

void DataExchange::ComboIndex(int controlId, int& value)
{
    HWND control = ::GetDlgItem(m_dialog, controlId);
    if (m_save)
        value = static_cast<int>(::SendMessageA(control, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

}  // namespace framework
