// Where a window goes when it is centred: the arithmetic of CenterWindow, on plain numbers so
// that it can be tested natively.
#pragma once

namespace vk {

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct Origin {
    int x = 0;
    int y = 0;
};

bool operator==(const Origin& a, const Origin& b);

// The top-left corner of a window of width x height centred on `on`, then moved back inside
// `work` (the work area) wherever it would stand out. A window larger than the work area keeps
// its top-left corner on the work area's, so its caption stays reachable.
Origin CentredOrigin(int width, int height, const Box& on, const Box& work);

} // namespace vk
