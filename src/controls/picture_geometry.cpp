#include "controls/picture_geometry.h"

#include <algorithm>

namespace vk {

int HimetricToPixels(int himetric, int pixelsPerInch) {
    const int kHimetricPerInch = 2540;
    return MulDivRound(himetric, pixelsPerInch, kHimetricPerInch);
}

Rect PaintRect(Size picture, Size client) {
    Rect shown{0, 0, std::min(picture.cx, client.cx), std::min(picture.cy, client.cy)};
    return shown.IsEmpty() ? Rect{} : shown;
}

EraseRects EraseAround(Size picture, Size client) {
    EraseRects out;
    if (client.cx <= 0 || client.cy <= 0)
        return out;
    const int shownRight = std::max(0, std::min(picture.cx, client.cx));
    const int shownBottom = std::max(0, std::min(picture.cy, client.cy));
    if (shownRight == 0 || shownBottom == 0) {
        out.rect[out.count++] = Rect{0, 0, client.cx, client.cy};
        return out;
    }
    if (shownRight < client.cx)
        out.rect[out.count++] = Rect{shownRight, 0, client.cx, client.cy};
    if (shownBottom < client.cy)
        out.rect[out.count++] = Rect{0, shownBottom, shownRight, client.cy};
    return out;
}

RenderArgs RenderArgsFor(Rect dest, Size natural, Size himetric) {
    if (dest.IsAllZero())
        dest = Rect{0, 0, natural.cx, natural.cy};
    RenderArgs args;
    args.x = dest.left;
    args.y = dest.top;
    args.cx = dest.Width();
    args.cy = dest.Height();
    args.srcX = 0;
    args.srcY = himetric.cy;
    args.srcCx = himetric.cx;
    args.srcCy = -himetric.cy;
    return args;
}

Size SplashWindowSize(Size picture, int dpi) {
    const int margin = ScaleToDpi(5, dpi);
    return Size{picture.cx + margin, picture.cy + margin};
}

} // namespace vk
