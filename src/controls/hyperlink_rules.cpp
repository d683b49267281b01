#include "controls/hyperlink_rules.h"

namespace vk {

Placement FitLinkToText(const Rect& window, int borderWidth, int borderHeight, int textWidth,
                            int textHeight, uint32_t style) {
    Rect r = window;
    if (style & kStaticCenterImage) {
        const int shrink = ((r.bottom - r.top) - textHeight) / 2;
        r.top += shrink;
        r.bottom -= shrink;
    } else {
        r.bottom = r.top + textHeight;
    }
    if (style & kStaticCenter) {
        const int shrink = ((r.right - r.left) - textWidth) / 2;
        r.left += shrink;
        r.right -= shrink;
    } else if (style & kStaticRight) {
        r.left = r.right - textWidth;
    } else {
        r.right = r.left + textWidth;
    }
    return {r.left, r.top, r.right - r.left + borderWidth, r.bottom - r.top + borderHeight};
}

uint32_t LinkColour(bool active, bool visited) {
    return active ? kActiveLinkColour : visited ? kVisitedLinkColour : kLinkColour;
}

std::string HelpPageAddress(const std::string& modulePath) { return "res://" + modulePath + "/23/186"; }

} // namespace vk
