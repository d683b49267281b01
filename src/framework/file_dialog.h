// The common Open dialog.
#pragma once
#include <windows.h>

#include <string>

namespace fw {

struct OpenFileRequest {
    HWND owner = nullptr;
    std::string title;
    std::string initialFolder;
    std::string filter;           // NUL-separated pairs, double NUL at the end
    std::string defaultExtension; // without its dot
    DWORD flags = 0;
};

// The chosen file's full path; false when the user cancels.
bool AskOpenFile(const OpenFileRequest& request, std::string& path);

} // namespace fw
