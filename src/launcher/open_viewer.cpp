#include "launcher/open_viewer.h"

#include "launcher/viewer_dlg.h"

namespace vk {

void OpenInViewer(const std::string& path, const std::string& iconPath, int windowSize, ViewerKind kind,
                  const fw::WString& mark) {
    CViewerDlg viewer(nullptr);
    viewer.m_strPath = path;
    viewer.m_strIconPath = iconPath;
    viewer.m_nWindowSize = windowSize;
    viewer.m_kind = kind;
    viewer.m_mark = mark;
    viewer.DoModal();
}

} // namespace vk
