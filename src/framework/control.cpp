#include "framework/control.h"

#include <commctrl.h>

namespace fw {

Control::~Control() { UnsubclassWindow(); }

bool Control::SubclassWindow(HWND hwnd) {
    if (!hwnd || m_hWnd)
        return false;
    m_hWnd = hwnd;
    PreSubclassWindow();
    if (!::SetWindowSubclass(hwnd, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this))) {
        m_hWnd = nullptr;
        return false;
    }
    return true;
}

void Control::UnsubclassWindow() {
    if (m_hWnd)
        ::RemoveWindowSubclass(m_hWnd, SubclassProc, 0);
    m_hWnd = nullptr;
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    Control* self = reinterpret_cast<Control*>(data);
    if (msg == WM_NCDESTROY) {
        LRESULT result = ::DefSubclassProc(hwnd, msg, wp, lp);
        self->UnsubclassWindow();
        self->PostNcDestroy();
        return result;
    }
    return self->WindowProc(msg, wp, lp);
}

} // namespace fw
