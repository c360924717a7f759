// Moves values between a dialog's controls and its members, in one
// direction per pass.
#pragma once

#include <windows.h>

#include <string>

namespace framework {

class DataExchange {
public:
    DataExchange(HWND dialog, bool save) noexcept : m_dialog(dialog), m_save(save) {}

    void Text(int controlId, std::string& value);
    // A check box: 1 ticked, 0 not.
    void Check(int controlId, int& value);
    // The selected item of a list box or combo box: -1 for none.
    void ComboIndex(int controlId, int& value);

private:
    HWND m_dialog;
    bool m_save;
};

}  // namespace framework
