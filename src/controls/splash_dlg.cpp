#include "controls/splash_dlg.h"

#include "controls/picture_geometry.h"
#include "controls/picture_shrink_win.h"

void CSplashDlg::DoDataExchange(fw::DataExchange& dx) { dx.Bind(IDC_SPLASH_PICTURE, m_pictureCtrl); }

BOOL CSplashDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    // The template's system-modal style keeps the splash above other windows on Windows; Wine
    // ignores that style, so ask for it directly.
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (m_strImagePath.empty())
        m_strImagePath = "default.gif";
    m_pictureCtrl.Invalidate(TRUE);
    const int dpi = Dpi();
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const fw::Size work = {monitor.rcWork.right - monitor.rcWork.left, monitor.rcWork.bottom - monitor.rcWork.top};
    // A picture larger than the screen is averaged down to fit, from a smaller decode where
    // the system offers one, so that a photograph of many megapixels shows at once and whole.
    // One that fits is loaded and drawn as it always was.
    bool shrunk = false;
    {
        CPictureFile file;
        if (file.Open(m_strImagePath)) {
            const fw::Size image = fw::ScaleToDpi(file.PixelSize(), dpi);
            const fw::Size shown = vk::SplashPictureSize(image, work, dpi);
            if (!(shown == image) &&
                m_pictureCtrl.m_picture.LoadFromBitmap(file.Shrunk(shown, ::GetSysColor(COLOR_BTNFACE)))) {
                m_pictureCtrl.SetShownSize(shown);
                shrunk = true;
            }
        }
    }
    if (!shrunk) {
        // A picture that cannot be loaded leaves a window of the margin alone (5 x 5 at 100 %):
        // no message at start-up. Without the imaging component a large picture is loaded
        // whole and drawn smaller; on a scaled screen, where the fit only holds back the
        // picture's growth, it is drawn larger than its pixels, as any picture there is.
        m_pictureCtrl.m_picture.LoadFromFile(m_strImagePath);
        const fw::Size image = m_pictureCtrl.ImageSize();
        const fw::Size shown = vk::SplashPictureSize(image, work, dpi);
        if (!(shown == image))
            m_pictureCtrl.SetShownSize(shown);
    }
    const fw::Size size = vk::SplashWindowSize(m_pictureCtrl.ImageSize(), dpi);

    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    MoveWindow(window.left, window.top, size.cx, size.cy, TRUE);
    CenterWindow();
    m_pictureCtrl.MoveWindow(0, 0, size.cx, size.cy, TRUE);
    return TRUE;
}
