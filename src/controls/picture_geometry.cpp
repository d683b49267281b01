#include "controls/picture_geometry.h"

#include <algorithm>
#include <cstdint>

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

Size SplashPictureSize(Size picture, Size workArea, int dpi) {
    const Size window = SplashWindowSize(picture, dpi);
    if (picture.cx <= 0 || picture.cy <= 0 || workArea.cx <= 0 || workArea.cy <= 0 ||
        (window.cx <= workArea.cx && window.cy <= workArea.cy))
        return picture;
    // The gap keeps the window off the screen's edges, so it reads as a splash rather than as
    // the screen itself.
    const int gap = ScaleToDpi(16, dpi), margin = window.cx - picture.cx;
    const int64_t roomX = std::max(1, workArea.cx - 2 * gap - margin);
    const int64_t roomY = std::max(1, workArea.cy - 2 * gap - margin);
    // Rounded to the nearest, the side that follows never passes its room: its exact value
    // does not, and the room is whole.
    auto follow = [](int64_t side, int64_t room, int64_t along) {
        return static_cast<int>(std::max<int64_t>(1, (side * room + along / 2) / along));
    };
    if (roomX * picture.cy <= roomY * picture.cx)
        return Size{static_cast<int>(roomX), follow(picture.cy, roomX, picture.cx)};
    return Size{follow(picture.cx, roomY, picture.cy), static_cast<int>(roomY)};
}

} // namespace vk
