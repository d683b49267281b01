#include "controls/splash_dlg.h"

#include "controls/picture_geometry.h"

void CSplashDlg::DoDataExchange(fw::DataExchange& dx) { dx.Bind(IDC_SPLASH_PICTURE, m_pictureCtrl); }

BOOL CSplashDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    // The template's system-modal style keeps the splash above other windows on Windows; Wine
    // ignores that style, so ask for it directly.
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (m_strImagePath.empty())
        m_strImagePath = "default.gif";
    m_pictureCtrl.Invalidate(TRUE);
    // A picture that cannot be loaded leaves a window of the margin alone (5 x 5 at 100 %): no
    // message at start-up.
    m_pictureCtrl.m_picture.LoadFromFile(m_strImagePath);
    const vk::Size size = vk::SplashWindowSize(m_pictureCtrl.ImageSize(), Dpi());

    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    MoveWindow(window.left, window.top, size.cx, size.cy, TRUE);
    CenterWindow();
    m_pictureCtrl.MoveWindow(0, 0, size.cx, size.cy, TRUE);
    return TRUE;
}
