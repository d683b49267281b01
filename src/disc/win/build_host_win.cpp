#include "disc/win/build_host_win.h"

#include <windows.h>
#include <shlobj.h>

namespace vk {

bool DesktopPath(std::string& path) {
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &pidl)) || !pidl)
        return false;
    wchar_t buffer[MAX_PATH] = {};
    const BOOL found = ::SHGetPathFromIDListW(pidl, buffer);
    ::CoTaskMemFree(pidl);
    path = fw::Narrow(buffer);
    return found && !path.empty();
}

} // namespace vk
