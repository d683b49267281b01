// Moves values between a dialog's controls and its members, in one direction per pass.
#pragma once
#include <windows.h>

#include <string>

namespace fw {

class Control;

class DataExchange {
public:
    DataExchange(HWND dialog, bool save) : m_dialog(dialog), m_save(save) {}

    void Text(int id, std::string& value);
    void Check(int id, BOOL& value);
    void Check(int id, bool& value);
    void CBIndex(int id, int& value);
    // Binds a control object to the dialog's control once (subclassing it).
    void Bind(int id, Control& control);

private:
    HWND m_dialog;
    bool m_save;
};

} // namespace fw
