// Where a window goes when it is centred: the arithmetic of CenterWindow, on plain numbers so
// that it can be tested natively.
#pragma once

#include "framework/geometry.h"

namespace fw {

// The top-left corner of a window of width x height centred on `on`, then moved back inside
// `work` (the work area) wherever it would stand out. A window larger than the work area keeps
// its top-left corner on the work area's, so its caption stays reachable.
Point CentredOrigin(int width, int height, const Rect& on, const Rect& work);

} // namespace fw
