// A window wrapper that holds only its handle; it never owns the window.
#pragma once
#include <windows.h>

#include <string>

#include "framework/wide.h"

namespace fw {

class Wnd {
public:
    Wnd() = default;
    explicit Wnd(HWND hwnd) : m_hWnd(hwnd) {}
    virtual ~Wnd() = default;
    Wnd(const Wnd&) = delete;
    Wnd& operator=(const Wnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    BOOL ShowWindow(int show) const { return ::ShowWindow(m_hWnd, show); }
    BOOL EnableWindow(BOOL enable) const { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL Invalidate(BOOL erase = TRUE) const { return ::InvalidateRect(m_hWnd, nullptr, erase); }
    BOOL UpdateWindow() const { return ::UpdateWindow(m_hWnd); }
    BOOL MoveWindow(int x, int y, int w, int h, BOOL repaint = TRUE) const {
        return ::MoveWindow(m_hWnd, x, y, w, h, repaint);
    }
    BOOL SetWindowText(const std::string& text) const { return ::SetWindowTextW(m_hWnd, Widen(text).c_str()); }
    std::string GetWindowText() const;
    // Messages that carry text carry UTF-16, as the windows are Unicode windows.
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendMessageW(m_hWnd, msg, wp, lp); }
    // Centres on the owner when it is visible and not minimised, else on the work area of the
    // window's monitor; either way the window stays inside that work area.
    void CenterWindow() const;
    // The dots per inch the window is shown at: its monitor's where the system tells
    // (GetDpiForWindow, Windows 10), else the screen's.
    int Dpi() const;

protected:
    // Set by whoever binds the window to this object (a dialog's procedure, a subclassed
    // control); others ask GetSafeHwnd or use the object as an HWND.
    HWND m_hWnd = nullptr;
};

} // namespace fw
