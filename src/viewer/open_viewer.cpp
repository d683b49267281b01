#include "viewer/open_viewer.h"

#include <windows.h>
#include <shellapi.h>

#include "viewer/viewer_dlg.h"

namespace vk {

void OpenInViewer(const std::string& path, const std::string& iconPath, int windowSize, bool movie) {
    CViewerDlg viewer(nullptr);
    viewer.m_strPath = path;
    viewer.m_strIconPath = iconPath;
    viewer.m_nWindowSize = windowSize;
    viewer.m_bMovie = movie;
    // A window that cannot be made at all must not swallow the disc's target.
    if (viewer.DoModal() == -1)
        ::ShellExecuteA(nullptr, nullptr, path.c_str(), "", "", SW_SHOWNORMAL);
}

} // namespace vk
