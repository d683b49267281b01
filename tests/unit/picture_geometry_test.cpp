#include <gtest/gtest.h>

#include <climits>
#include <ostream>

#include "controls/picture_geometry.h"
#include "geometry_print.h"

namespace {

using fw::Rect;
using fw::Size;

TEST(MulDivRound, RoundsLikeTheSystem) {
    struct Case {
        int a, b, c, expected;
    } cases[] = {
        {10, 127, 2540, 1},   // exactly one half: away from zero
        {-10, 127, 2540, -1}, // and for negative results too
        {10, -127, 2540, -1},
        {-10, 127, -2540, 1},
        {9, 127, 2540, 0}, // 0.45
        {7, 3, 2, 11},     // 10.5
        {-7, 3, 2, -11},
        {0, 96, 2540, 0},
        {5, 5, 0, -1},                 // no divisor
        {INT_MAX, 96, 2540, 81164736}, // the product needs 64 bits
        {INT_MAX, 2, 1, -1},           // the result does not fit
        {INT_MIN, 1, 1, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fw::MulDivRound(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST(ScaleToDpi, FromNinetySixDotsPerInch) {
    struct Case {
        int pixels, dpi, scaled;
    } cases[] = {
        {640, 96, 640},  {5, 96, 5},       {640, 120, 800}, {5, 120, 6}, // 6.25
        {5, 144, 8},                                                     // 7.5: halves away from zero
        {450, 144, 675}, {640, 192, 1280}, {1, 144, 2},     {-5, 144, -8},
        {0, 192, 0},     {5, 0, 5},        {5, -1, 5}, // no resolution told: as at 96
    };
    for (const Case& c : cases)
        EXPECT_EQ(fw::ScaleToDpi(c.pixels, c.dpi), c.scaled) << c.pixels << " at " << c.dpi;
    EXPECT_EQ(fw::ScaleToDpi(Size{400, 300}, 120), (Size{500, 375}));
}

TEST(HimetricToPixels, AtCommonResolutions) {
    struct Case {
        int himetric, dpi, pixels;
    } cases[] = {
        {10583, 96, 400},                                 // what the OLE loader reports for a 400 x 300 JPEG
        {7938, 96, 300},  {2540, 96, 96},                 // one inch
        {2540, 120, 120}, {10583, 120, 500}, {13, 96, 0}, // 0.49 pixel
        {14, 96, 1},                                      // 0.53 pixel
        {0, 96, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vk::HimetricToPixels(c.himetric, c.dpi), c.pixels) << c.himetric << " at " << c.dpi << " dpi";
}

TEST(PaintRect, NaturalSizeInALargerControlSqueezedPerAxisInASmallerOne) {
    struct Case {
        Size picture, client;
        Rect expected;
    } cases[] = {
        {{400, 300}, {405, 305}, {0, 0, 400, 300}}, // the splash: natural size, top left
        {{400, 300}, {400, 300}, {0, 0, 400, 300}},
        {{400, 300}, {200, 100}, {0, 0, 200, 100}}, // whole picture into the client area
        {{400, 300}, {200, 500}, {0, 0, 200, 300}}, // only the narrow axis is squeezed
        {{400, 300}, {600, 150}, {0, 0, 400, 150}},
        {{0, 0}, {405, 305}, {}}, // no picture: nothing to paint
        {{400, 300}, {0, 0}, {}}, // a zero-size control
        {{400, 300}, {0, 50}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vk::PaintRect(c.picture, c.client), c.expected) << c.picture << " in " << c.client;
}

TEST(EraseAround, OnlyTheClientAreaOutsideThePicture) {
    struct Case {
        Size picture, client;
        int count;
        Rect first, second;
    } cases[] = {
        {{400, 300}, {405, 305}, 2, {400, 0, 405, 305}, {0, 300, 400, 305}},
        {{400, 300}, {405, 300}, 1, {400, 0, 405, 300}, {}},
        {{400, 300}, {400, 305}, 1, {0, 300, 400, 305}, {}},
        {{400, 300}, {400, 300}, 0, {}, {}}, // the picture covers everything
        {{400, 300}, {200, 100}, 0, {}, {}}, // squeezed pictures cover everything too
        {{400, 300}, {200, 500}, 1, {0, 300, 200, 500}, {}},
        {{0, 0}, {5, 5}, 1, {0, 0, 5, 5}, {}}, // no picture: the whole client area
        {{0, 0}, {0, 0}, 0, {}, {}},
    };
    for (const Case& c : cases) {
        vk::EraseRects got = vk::EraseAround(c.picture, c.client);
        ASSERT_EQ(got.count, c.count) << c.picture << " in " << c.client;
        if (c.count > 0) {
            EXPECT_EQ(got.rect[0], c.first) << c.picture << " in " << c.client;
        }
        if (c.count > 1) {
            EXPECT_EQ(got.rect[1], c.second) << c.picture << " in " << c.client;
        }
    }
}

TEST(RenderArgsFor, DrawsTheWholePictureUprightIntoTheDestination) {
    const Size natural{400, 300}, himetric{10583, 7938};
    struct Case {
        Rect dest;
        int x, y, cx, cy;
    } cases[] = {
        {{}, 0, 0, 400, 300},               // all zero: natural size at (0, 0)
        {{0, 0, 200, 100}, 0, 0, 200, 100}, // stretched into the destination
        {{10, 20, 110, 70}, 10, 20, 100, 50},
        {{0, 0, 0, 100}, 0, 0, 0, 100}, // only an all-zero rectangle means natural size
    };
    for (const Case& c : cases) {
        vk::RenderArgs args = vk::RenderArgsFor(c.dest, natural, himetric);
        EXPECT_EQ(args.x, c.x) << c.dest;
        EXPECT_EQ(args.y, c.y) << c.dest;
        EXPECT_EQ(args.cx, c.cx) << c.dest;
        EXPECT_EQ(args.cy, c.cy) << c.dest;
        // The source starts at the bottom edge and runs upwards.
        EXPECT_EQ(args.srcX, 0);
        EXPECT_EQ(args.srcY, 7938);
        EXPECT_EQ(args.srcCx, 10583);
        EXPECT_EQ(args.srcCy, -7938);
    }
}

TEST(SplashWindowSize, PictureAndAFivePixelMarginAtTheScreensScale) {
    struct Case {
        Size picture;
        int dpi;
        Size window;
    } cases[] = {
        {{400, 300}, 96, {405, 305}},  {{0, 0}, 96, {5, 5}},          // no picture
        {{40, 30}, 96, {45, 35}},      {{500, 375}, 120, {506, 381}}, // 6.25
        {{600, 450}, 144, {608, 458}},                                // 7.5 rounds up
        {{800, 600}, 192, {810, 610}}, {{0, 0}, 192, {10, 10}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vk::SplashWindowSize(c.picture, c.dpi), c.window) << c.picture.cx << " at " << c.dpi;
}

TEST(SplashPictureSize, KeptWhenTheWindowFitsScaledDownWithItsShapeWhenNot) {
    const Size screen{1024, 768};
    struct Case {
        Size picture, work;
        int dpi;
        Size shown;
    } cases[] = {
        {{400, 300}, screen, 96, {400, 300}},
        {{1019, 763}, screen, 96, {1019, 763}}, // the window is exactly the work area
        {{1020, 300}, screen, 96, {987, 290}},  // one pixel too wide: the width is bound
        {{300, 764}, screen, 96, {287, 731}},   // one too high: the height is
        {{1600, 1200}, screen, 96, {975, 731}}, // 974.67 rounds up, still inside its room
        {{8000, 8000}, screen, 96, {731, 731}},
        {{8000, 800}, screen, 96, {987, 99}}, // 98.7
        {{20000, 10}, screen, 96, {987, 1}},  // 0.49 would be nothing: one pixel
        {{10, 20000}, screen, 96, {1, 731}},
        {{2400, 1800}, {1536, 1152}, 144, {1461, 1096}}, // 1600 x 1200 at 150 %: gap 24, margin 8
        {{1528, 1144}, {1536, 1152}, 144, {1528, 1144}}, // fits with the margin of that scale
        {{100, 100}, {40, 40}, 96, {3, 3}},              // a work area hardly larger than its gaps
        {{100, 50}, {20, 20}, 96, {1, 1}},               // or smaller: never below one pixel
        {{0, 0}, screen, 96, {0, 0}},                    // no picture
        {{8000, 8000}, {0, 0}, 96, {8000, 8000}},        // no work area known: as before
    };
    for (const Case& c : cases) {
        const Size shown = vk::SplashPictureSize(c.picture, c.work, c.dpi);
        EXPECT_EQ(shown, c.shown) << c.picture << " in " << c.work << " at " << c.dpi;
        // A scaled window never leaves the work area, except where one pixel is all that is left.
        const Size window = vk::SplashWindowSize(shown, c.dpi);
        if (!(shown == c.picture) && shown.cx > 1 && shown.cy > 1) {
            EXPECT_LE(window.cx, c.work.cx) << c.picture;
            EXPECT_LE(window.cy, c.work.cy) << c.picture;
        }
    }
}

} // namespace
