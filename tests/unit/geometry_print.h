// How the tests print the framework's sizes, rectangles and placements in a failure.
#pragma once
#include <ostream>

#include "framework/geometry.h"

namespace fw {
inline std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
inline std::ostream& operator<<(std::ostream& out, const Point& p) { return out << "(" << p.x << "," << p.y << ")"; }
inline std::ostream& operator<<(std::ostream& out, const Size& s) { return out << s.cx << "x" << s.cy; }
inline std::ostream& operator<<(std::ostream& out, const Placement& p) {
    return out << "(" << p.x << "," << p.y << ") " << p.width << "x" << p.height;
}
} // namespace fw
