#include "viewer/open_viewer.h"

#include <windows.h>
#include <shellapi.h>

namespace vk {

// Until the viewer window exists, the page or movie opens through its file association.
void OpenInViewer(const std::string& path, const std::string&, int, bool) {
    ::ShellExecuteA(nullptr, nullptr, path.c_str(), "", "", SW_SHOWNORMAL);
}

} // namespace vk
