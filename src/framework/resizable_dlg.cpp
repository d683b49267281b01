#include "framework/resizable_dlg.h"

namespace fw {
namespace {

class DialogChildren : public fw::ChildRects {
public:
    explicit DialogChildren(HWND dialog) : m_dialog(dialog) {}

    bool Get(int id, fw::Rect& rect) override {
        HWND child = ::GetDlgItem(m_dialog, id);
        if (!child)
            return false;
        RECT r;
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, m_dialog, reinterpret_cast<POINT*>(&r), 2);
        rect = {r.left, r.top, r.right, r.bottom};
        return true;
    }
    void Set(int id, const fw::Rect& rect) override {
        HWND child = ::GetDlgItem(m_dialog, id);
        ::InvalidateRect(child, nullptr, TRUE);
        ::MoveWindow(child, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    }

private:
    HWND m_dialog;
};

} // namespace

BOOL CResizableDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    m_dpi = Dpi();
    // The dialog procedure is bound only from WM_INITDIALOG on, so the WM_SIZE sent while the
    // window was created never arrived: the template's client size is the baseline.
    if (!m_layout.HasBaseline()) {
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        DialogChildren children(m_hWnd);
        m_layout.OnSize(false, client.right, client.bottom, children);
    }
    return FALSE;
}

void CResizableDlg::OnSize(UINT type, int cx, int cy) {
    DialogChildren children(m_hWnd);
    m_layout.OnSize(type == SIZE_MINIMIZED, cx, cy, children);
}

void CResizableDlg::OnDestroy() { m_layout.Reset(); }

bool CResizableDlg::OnDpiChanged(int dpi, const RECT& suggested) {
    DialogChildren children(m_hWnd);
    m_layout.OnDpiChanged(m_dpi, dpi, children);
    m_dpi = dpi;
    ::SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

} // namespace fw
