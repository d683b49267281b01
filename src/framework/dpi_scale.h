// Pixel sizes are stated for a screen of 96 dots per inch (100 %); on a screen scaled to
// 125, 150 or 200 % they grow with it, rounded as the system's MulDiv rounds.
#pragma once

#include "framework/geometry.h"

namespace fw {

const int kBaseDpi = 96;

// a * b / c rounded to the nearest, halves away from zero, as the system's MulDiv does;
// -1 when c is 0 or the result does not fit an int.
int MulDivRound(int a, int b, int c);

// A size in pixels at 96 dpi, at the given resolution. A resolution the system could not tell
// (0 or less) counts as 96.
int ScaleToDpi(int pixels, int dpi);
Size ScaleToDpi(Size pixels, int dpi);

} // namespace fw
