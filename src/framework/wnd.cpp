#include "framework/wnd.h"

#include <vector>

namespace fw {

std::string Wnd::GetWindowText() const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    std::vector<char> text(length + 1);
    int got = ::GetWindowTextA(m_hWnd, text.data(), length + 1);
    return std::string(text.data(), got > 0 ? got : 0);
}

void Wnd::CenterWindow() const {
    RECT area;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
        ::GetWindowRect(owner, &area);
    } else {
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        ::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &info);
        area = info.rcWork;
    }
    RECT self;
    ::GetWindowRect(m_hWnd, &self);
    int w = self.right - self.left, h = self.bottom - self.top;
    int x = area.left + (area.right - area.left - w) / 2;
    int y = area.top + (area.bottom - area.top - h) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace fw
