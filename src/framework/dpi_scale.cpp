#include "framework/dpi_scale.h"

#include <climits>
#include <cstdint>

namespace fw {

int MulDivRound(int a, int b, int c) {
    if (c == 0)
        return -1;
    int64_t product = static_cast<int64_t>(a) * b;
    int64_t divisor = c;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    int64_t result = product >= 0 ? (product + divisor / 2) / divisor : (product - divisor / 2) / divisor;
    if (result > INT_MAX || result < -INT_MAX)
        return -1;
    return static_cast<int>(result);
}

int ScaleToDpi(int pixels, int dpi) { return dpi > 0 ? MulDivRound(pixels, dpi, kBaseDpi) : pixels; }

Size ScaleToDpi(Size pixels, int dpi) { return Size{ScaleToDpi(pixels.cx, dpi), ScaleToDpi(pixels.cy, dpi)}; }

} // namespace fw
