#include "framework/data_exchange.h"

#include "framework/control.h"
#include "framework/wnd.h"

namespace fw {

void DataExchange::Text(int id, std::string& value) {
    HWND item = ::GetDlgItem(m_dialog, id);
    if (!m_save) {
        Wnd(item).SetWindowText(value);
        return;
    }
    value = Wnd(item).GetWindowText();
}

void DataExchange::Check(int id, BOOL& value) {
    HWND item = ::GetDlgItem(m_dialog, id);
    if (m_save)
        value = static_cast<BOOL>(::SendMessageW(item, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(item, BM_SETCHECK, value, 0);
}

void DataExchange::Check(int id, bool& value) {
    BOOL checked = value ? BST_CHECKED : BST_UNCHECKED;
    Check(id, checked);
    value = checked != BST_UNCHECKED;
}

void DataExchange::CBIndex(int id, int& value) {
    HWND item = ::GetDlgItem(m_dialog, id);
    if (m_save)
        value = static_cast<int>(::SendMessageW(item, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(item, CB_SETCURSEL, value, 0);
}

void DataExchange::Bind(int id, Control& control) {
    if (!control.GetSafeHwnd())
        control.SubclassDlgItem(id, m_dialog);
}

} // namespace fw
