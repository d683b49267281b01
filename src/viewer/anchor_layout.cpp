#include "viewer/anchor_layout.h"

namespace vk {

Rect Anchored(Rect rect, int flags, int dx, int dy) {
    if (flags & AnchorSizeX) {
        rect.right += dx;
    } else if (flags & AnchorMoveX) {
        rect.left += dx;
        rect.right += dx;
    }
    if (flags & AnchorSizeY) {
        rect.bottom += dy;
    } else if (flags & AnchorMoveY) {
        rect.top += dy;
        rect.bottom += dy;
    }
    return rect;
}

void AnchorLayout::Add(int id, int flags) {
    if ((flags & 0xFFFF) == 0)
        return;
    m_entries.push_back(static_cast<uint32_t>(flags) << 16 | (static_cast<uint32_t>(id) & 0xFFFF));
}

void AnchorLayout::OnSize(bool minimized, int width, int height, ChildRects& children) {
    if (minimized)
        return;
    const int dx = width - m_lastWidth;
    const int dy = height - m_lastHeight;
    if (m_lastWidth != 0) {
        for (uint32_t entry : m_entries) {
            const int id = static_cast<int>(entry & 0xFFFF);
            Rect rect;
            if (!children.Get(id, rect))
                continue;
            children.Set(id, Anchored(rect, static_cast<int>(entry >> 16), dx, dy));
        }
    }
    m_lastWidth = width;
    m_lastHeight = height;
}

} // namespace vk
