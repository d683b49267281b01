#include <gtest/gtest.h>

#include <ostream>

#include "framework/centring.h"
#include "geometry_print.h"

namespace {

using fw::Point;
using fw::Rect;

TEST(CentredOrigin, CentresOnTheReferenceAndStaysInsideTheWorkArea) {
    // A 1024 x 768 screen with a 30-pixel task bar at the bottom.
    const Rect work = {0, 0, 1024, 738};
    struct Case {
        const char* what;
        int width, height;
        Rect on;
        Point expected;
    } cases[] = {
        {"on the work area", 508, 395, work, {258, 171}},
        // The odd pixel goes to the right and bottom.
        {"odd leftover", 101, 51, {0, 0, 200, 100}, {49, 24}},
        {"on an owner", 200, 100, {300, 200, 700, 500}, {400, 300}},
        {"larger than its owner", 732, 523, {258, 171, 766, 566}, {146, 107}},
        {"owner near the right edge: held at the right", 400, 300, {800, 100, 1000, 300}, {624, 50}},
        {"owner near the bottom: held at the bottom", 400, 300, {100, 600, 300, 738}, {0, 438}},
        {"owner off the top left: held at the top left", 400, 300, {-500, -400, -100, -100}, {0, 0}},
        {"wider and taller than the work area: top-left corner on the work area's", 1200, 900, work, {0, 0}},
        {"exactly the work area", 1024, 738, work, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, fw::CentredOrigin(c.width, c.height, c.on, work)) << c.what;
}

TEST(CentredOrigin, WorkAreaAwayFromTheOrigin) {
    // A second monitor to the left of the first, with its task bar at the top.
    const Rect work = {-1280, 40, 0, 1024};
    EXPECT_EQ((Point{-840, 372}), fw::CentredOrigin(400, 320, work, work));
    EXPECT_EQ((Point{-400, 40}), fw::CentredOrigin(400, 320, {-200, 0, 100, 200}, work));
}

} // namespace
