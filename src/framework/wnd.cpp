#include "framework/wnd.h"

#include "framework/handles.h"

#include "framework/centring.h"

namespace fw {

std::string Wnd::GetWindowText() const {
    const int length = ::GetWindowTextLengthW(m_hWnd);
    WString text(length + 1, L'\0');
    const int got = ::GetWindowTextW(m_hWnd, &text[0], length + 1);
    return Narrow(text.data(), got > 0 ? got : 0);
}

namespace {

fw::Rect RectOf(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

} // namespace

int Wnd::Dpi() const {
    // Looked up each time: older systems lack it, and no static is shared with the threads.
    typedef UINT(WINAPI * DpiForWindow)(HWND);
    const DpiForWindow forWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"user32"), "GetDpiForWindow")));
    if (const UINT dpi = forWindow ? forWindow(m_hWnd) : 0)
        return static_cast<int>(dpi);
    const WindowDc screen(nullptr);
    return ::GetDeviceCaps(screen.Get(), LOGPIXELSX);
}

void Wnd::CenterWindow() const {
    // An owner that cannot be seen is no place to look for a window.
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner && (!::IsWindowVisible(owner) || ::IsIconic(owner)))
        owner = nullptr;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT on = monitor.rcWork;
    if (owner)
        ::GetWindowRect(owner, &on);
    RECT self;
    ::GetWindowRect(m_hWnd, &self);
    const fw::Point origin =
        fw::CentredOrigin(self.right - self.left, self.bottom - self.top, RectOf(on), RectOf(monitor.rcWork));
    ::SetWindowPos(m_hWnd, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace fw
