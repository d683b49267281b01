// Where a window stands, read from outside: centred on another rectangle or on the work area.
#pragma once

#include <windows.h>

#include <string>

namespace vt {

inline RECT WorkAreaRect() {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

inline std::string RectText(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// "" when the window's margins to `on` are equal on both sides, give or take the pixel that
// halving an odd difference leaves; otherwise both rectangles.
inline std::string OffCentre(HWND wnd, const RECT& on) {
    RECT r{};
    GetWindowRect(wnd, &r);
    const long dx = (r.left - on.left) - (on.right - r.right), dy = (r.top - on.top) - (on.bottom - r.bottom);
    if (dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1)
        return "";
    return "window " + RectText(r) + " on " + RectText(on);
}

} // namespace vt
