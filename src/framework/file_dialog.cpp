#include "framework/file_dialog.h"

#include <commdlg.h>

namespace fw {

bool AskOpenFile(const OpenFileRequest& request, std::string& path) {
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = request.owner;
    ofn.lpstrFilter = request.filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = request.initialFolder.c_str();
    ofn.lpstrTitle = request.title.c_str();
    ofn.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
    ofn.Flags = request.flags | OFN_EXPLORER | OFN_ENABLESIZING;
    if (!::GetOpenFileNameA(&ofn))
        return false;
    path = file;
    return true;
}

} // namespace fw
