#include "framework/wnd.h"

#include <vector>

#include "framework/centring.h"

namespace fw {

std::string Wnd::GetWindowText() const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    std::vector<char> text(length + 1);
    int got = ::GetWindowTextA(m_hWnd, text.data(), length + 1);
    return std::string(text.data(), got > 0 ? got : 0);
}

namespace {

vk::Rect RectOf(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

} // namespace

void Wnd::CenterWindow() const {
    // An owner that cannot be seen is no place to look for a window.
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner && (!::IsWindowVisible(owner) || ::IsIconic(owner)))
        owner = nullptr;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT on = monitor.rcWork;
    if (owner)
        ::GetWindowRect(owner, &on);
    RECT self;
    ::GetWindowRect(m_hWnd, &self);
    const vk::Point origin = vk::CentredOrigin(self.right - self.left, self.bottom - self.top, RectOf(on),
                                                RectOf(monitor.rcWork));
    ::SetWindowPos(m_hWnd, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace fw
