// The numbers behind the picture control and the splash window: converting an OLE picture's
// HIMETRIC size to pixels, where it is painted, what is erased around it, and how big the
// splash window gets, and how far a picture larger than the screen is scaled down.
#pragma once

#include "framework/dpi_scale.h"

namespace vk {

// The framework's geometry, in this code's own words.
using fw::MulDivRound;
using fw::Rect;
using fw::ScaleToDpi;
using fw::Size;

// HIMETRIC units (hundredths of a millimetre) to device pixels at the given resolution.
int HimetricToPixels(int himetric, int pixelsPerInch);

// Where a picture of the given pixel size is painted in a client area of the given size: its
// own rectangle at (0, 0) cut to the client area. A larger control shows it unscaled in the
// top-left corner; in a smaller one it is squeezed into the client area, each axis on its own.
// Empty when nothing would show.
Rect PaintRect(Size picture, Size client);

// The client area outside the picture, as up to two rectangles (the strip right of the
// picture, then the one below it). Erasing only these keeps the picture from flickering.
struct EraseRects {
    Rect rect[2];
    int count = 0;
};
EraseRects EraseAround(Size picture, Size client);

// The arguments of IPicture::Render that draw the whole picture into dest, upright: the
// source starts at the picture's bottom edge with a negative height. An all-zero dest means
// the picture's natural size at (0, 0).
struct RenderArgs {
    int x = 0, y = 0, cx = 0, cy = 0;
    int srcX = 0, srcY = 0, srcCx = 0, srcCy = 0;
};
RenderArgs RenderArgsFor(Rect dest, Size natural, Size himetric);

// The splash window's outer size, frame included: the picture as shown (already at the
// screen's scale) plus a margin of 5 pixels at 96 dpi, scaled to dpi.
Size SplashWindowSize(Size picture, int dpi);

// The picture as the splash window shows it, at the screen's scale. When the window (the
// picture and its margin) fits the work area, the picture keeps its size. A larger one is
// scaled down, its shape kept, until the window fits the work area with a gap of 16 pixels at
// 96 dpi on every side; neither side shrinks below one pixel. No picture, or a work area the
// system could not tell, leaves the size as it is.
Size SplashPictureSize(Size picture, Size workArea, int dpi);

} // namespace vk
