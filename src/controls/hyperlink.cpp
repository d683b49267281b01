#include "controls/hyperlink.h"

#include "controls/help_ids.h"

namespace vk {

Placement FitLinkToText(const Rect& window, int borderWidth, int borderHeight, int textWidth, int textHeight,
                        uint32_t style) {
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

namespace {

// What may stand as it is in the file part of a res: address: a URL path's own characters,
// with the backslashes and the drive's colon of a Windows path. Bytes above 127 stay too: the
// address goes to the browser as Unicode converted from the ANSI code page, which keeps them.
bool KeptInResPath(unsigned char c) {
    if (c >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    static const char kKept[] = "-._~!$&'()*+,;=:@/\\";
    for (const char* k = kKept; *k; ++k)
        if (c == static_cast<unsigned char>(*k))
            return true;
    return false;
}

} // namespace

std::string HelpPageAddress(const std::string& modulePath) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string address = "res://";
    for (const char ch : modulePath) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (KeptInResPath(c)) {
            address += ch;
        } else {
            address += '%';
            address += kHex[c >> 4];
            address += kHex[c & 0xF];
        }
    }
    return address + "/23/" + std::to_string(IDR_HELP_PAGE);
}

} // namespace vk
