#include "framework/data_exchange.h"

#include "framework/control.h"

namespace fw {

void DataExchange::Text(int id, std::string& value) {
    HWND item = ::GetDlgItem(m_dialog, id);
    if (!m_save) {
        ::SetWindowTextA(item, value.c_str());
        return;
    }
    int length = ::GetWindowTextLengthA(item);
    value.assign(length + 1, '\0');
    int got = ::GetWindowTextA(item, &value[0], length + 1);
    value.resize(got > 0 ? got : 0);
}

void DataExchange::Check(int id, BOOL& value) {
    HWND item = ::GetDlgItem(m_dialog, id);
    if (m_save)
        value = static_cast<BOOL>(::SendMessageA(item, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(item, BM_SETCHECK, value, 0);
}

void DataExchange::Check(int id, bool& value) {
    BOOL checked = value ? BST_CHECKED : BST_UNCHECKED;
    Check(id, checked);
    value = checked != BST_UNCHECKED;
}

void DataExchange::CBIndex(int id, int& value) {
    HWND item = ::GetDlgItem(m_dialog, id);
    if (m_save)
        value = static_cast<int>(::SendMessageA(item, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(item, CB_SETCURSEL, value, 0);
}

void DataExchange::Bind(int id, Control& control) {
    if (!control.m_hWnd)
        control.SubclassDlgItem(id, m_dialog);
}

} // namespace fw
