// The one size, rectangle and window placement of the portable rules, in pixels or dialog
// units as each rule says.
#pragma once

namespace fw {

struct Size {
    int cx = 0;
    int cy = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool IsAllZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
};

struct Point {
    int x = 0;
    int y = 0;
};

// Where a window goes, as MoveWindow takes it.
struct Placement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

inline bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
inline bool operator==(const Size& a, const Size& b) { return a.cx == b.cx && a.cy == b.cy; }
inline bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator==(const Placement& a, const Placement& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

} // namespace fw
