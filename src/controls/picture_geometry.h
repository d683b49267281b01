// The numbers behind the picture control and the splash window: converting an OLE picture's
// HIMETRIC size to pixels, where it is painted, what is erased around it, and how big the
// splash window gets.
#pragma once

namespace vk {

struct PixelSize {
    int cx = 0;
    int cy = 0;
};

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool IsAllZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
};

bool operator==(const PixelRect& a, const PixelRect& b);
bool operator==(const PixelSize& a, const PixelSize& b);

// a * b / c rounded to the nearest, halves away from zero, as the system's MulDiv does;
// -1 when c is 0 or the result does not fit an int.
int MulDivRound(int a, int b, int c);

// HIMETRIC units (hundredths of a millimetre) to device pixels at the given resolution.
int HimetricToPixels(int himetric, int pixelsPerInch);

// Where a picture of the given pixel size is painted in a client area of the given size: its
// own rectangle at (0, 0) cut to the client area. A larger control shows it unscaled in the
// top-left corner; in a smaller one it is squeezed into the client area, each axis on its own.
// Empty when nothing would show.
PixelRect PaintRect(PixelSize picture, PixelSize client);

// The client area outside the picture, as up to two rectangles (the strip right of the
// picture, then the one below it). Erasing only these keeps the picture from flickering.
struct EraseRects {
    PixelRect rect[2];
    int count = 0;
};
EraseRects EraseAround(PixelSize picture, PixelSize client);

// The arguments of IPicture::Render that draw the whole picture into dest, upright: the
// source starts at the picture's bottom edge with a negative height. An all-zero dest means
// the picture's natural size at (0, 0).
struct RenderArgs {
    int x = 0, y = 0, cx = 0, cy = 0;
    int srcX = 0, srcY = 0, srcCx = 0, srcCy = 0;
};
RenderArgs RenderArgsFor(PixelRect dest, PixelSize natural, PixelSize himetric);

// The splash window's outer size, frame included: the picture plus a 5-pixel margin.
PixelSize SplashWindowSize(PixelSize picture);

} // namespace vk
