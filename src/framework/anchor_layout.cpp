#include "framework/anchor_layout.h"

#include <cstddef>

namespace fw {

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

void AnchorLayout::OnDpiChanged(int oldDpi, int newDpi, ChildRects& children) {
    if (oldDpi <= 0 || newDpi <= 0 || oldDpi == newDpi || m_lastWidth == 0)
        return;
    auto scale = [&](int v) { return MulDivRound(v, newDpi, oldDpi); };
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const int id = static_cast<int>(m_entries[i] & 0xFFFF);
        bool seen = false;
        for (std::size_t j = 0; j < i; ++j)
            seen = seen || static_cast<int>(m_entries[j] & 0xFFFF) == id;
        Rect rect;
        if (!seen && children.Get(id, rect))
            children.Set(id, Rect{scale(rect.left), scale(rect.top), scale(rect.right), scale(rect.bottom)});
    }
    m_lastWidth = scale(m_lastWidth);
    m_lastHeight = scale(m_lastHeight);
}

} // namespace fw
