#include "controls/picture_ctrl.h"

void CPictureCtrl::PreSubclassWindow() {
    LoadResourcePicture();
    // Without a string of its own id there is nothing to open: a plain static.
    if (OwnStringResource().empty())
        m_bNotALink = TRUE;
}

LRESULT CPictureCtrl::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        if (Default(msg, wp, lp) == -1)
            return -1;
        LoadResourcePicture();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_PRINTCLIENT: // a copy of the window's look in any context (PrintWindow, AnimateWindow)
        if (lp & PRF_ERASEBKGND)
            OnEraseBkgnd(reinterpret_cast<HDC>(wp));
        Paint(reinterpret_cast<HDC>(wp));
        return 0;
    case WM_ERASEBKGND:
        OnEraseBkgnd(reinterpret_cast<HDC>(wp));
        return TRUE;
    }
    return CStaticLink::WindowProc(msg, wp, lp);
}

void CPictureCtrl::LoadResourcePicture() {
    const int id = ::GetDlgCtrlID(m_hWnd);
    if (!m_bLoadFromResource || id <= 0 || !m_picture.IsEmpty())
        return;
    Invalidate(TRUE);
    m_picture.LoadFromResource(static_cast<UINT>(id));
}

fw::Size CPictureCtrl::ImageSize() const {
    if (m_shownSize.cx > 0 && m_shownSize.cy > 0)
        return m_shownSize;
    // The loader measures a picture against the screen, so this is its count of pixels.
    const SIZE size = m_picture.GetPixelSize(nullptr);
    return fw::ScaleToDpi(fw::Size{size.cx, size.cy}, Dpi());
}

fw::Size CPictureCtrl::ClientSize() const {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    return fw::Size{client.right, client.bottom};
}

void CPictureCtrl::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    Paint(dc);
    ::EndPaint(m_hWnd, &ps);
}

void CPictureCtrl::Paint(HDC dc) {
    if (m_picture.IsEmpty())
        return;
    const fw::Rect shown = vk::PaintRect(ImageSize(), ClientSize());
    if (!shown.IsEmpty())
        m_picture.RenderInto(dc, RECT{shown.left, shown.top, shown.right, shown.bottom});
}

void CPictureCtrl::OnEraseBkgnd(HDC dc) {
    // The area under the picture is left alone, so the picture never flickers.
    const vk::EraseRects around = vk::EraseAround(ImageSize(), ClientSize());
    if (around.count == 0)
        return;
    HBRUSH brush = BackgroundBrush(dc);
    for (int i = 0; i < around.count; ++i) {
        const fw::Rect& r = around.rect[i];
        RECT fill = {r.left, r.top, r.right, r.bottom};
        ::FillRect(dc, &fill, brush);
    }
}

HBRUSH CPictureCtrl::BackgroundBrush(HDC dc) const {
    if (HBRUSH brush = reinterpret_cast<HBRUSH>(::GetClassLongPtrW(m_hWnd, GCLP_HBRBACKGROUND)))
        return brush;
    // The static class has no brush of its own: it takes its background from its parent, as
    // for its text. The parent may change the context's colours and font while it answers.
    const int saved = ::SaveDC(dc);
    HBRUSH brush = reinterpret_cast<HBRUSH>(::SendMessageW(
        ::GetParent(m_hWnd), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(m_hWnd)));
    ::RestoreDC(dc, saved);
    return brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE);
}
