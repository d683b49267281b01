// The anchor arithmetic of a resizable dialog: listed controls move or stretch by the change
// of the client area's size, measured against the previous size.
#pragma once
#include <cstdint>
#include <vector>

#include "framework/dpi_scale.h"

namespace fw {

enum AnchorFlags {
    AnchorMoveX = 1, // ignored when AnchorSizeX is set
    AnchorMoveY = 2, // ignored when AnchorSizeY is set
    AnchorSizeX = 4,
    AnchorSizeY = 8,
};

// The child controls of one dialog, in the dialog's client coordinates.
class ChildRects {
public:
    // False when the dialog has no control with this id.
    virtual bool Get(int id, Rect& rect) = 0;
    virtual void Set(int id, const Rect& rect) = 0;

protected:
    ~ChildRects() = default;
};

// The rectangle of a control with these anchor flags after the client area grew by dx, dy.
Rect Anchored(Rect rect, int flags, int dx, int dy);

class AnchorLayout {
public:
    // One entry per call: the id in the low 16 bits, the flags in the high 16 bits. Flags
    // whose low 16 bits are 0 add nothing.
    void Add(int id, int flags);
    const std::vector<uint32_t>& Entries() const { return m_entries; }

    bool HasBaseline() const { return m_lastWidth != 0; }
    // A new client size. A minimised window records nothing, so a restore is measured
    // against the size before it; the first size only sets the baseline.
    void OnSize(bool minimized, int width, int height, ChildRects& children);
    // The window moved to a screen of another scale: each listed control and the recorded size
    // grow or shrink with it, so that the size change that follows keeps every anchored edge
    // at its scaled distance from the dialog's edge. A control listed twice is scaled once.
    void OnDpiChanged(int oldDpi, int newDpi, ChildRects& children);
    // The window is gone: the next one from the same object starts with a fresh baseline.
    void Reset() { m_lastWidth = m_lastHeight = 0; }

private:
    std::vector<uint32_t> m_entries;
    int m_lastWidth = 0;
    int m_lastHeight = 0;
};

} // namespace fw
