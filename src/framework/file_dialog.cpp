#include "framework/file_dialog.h"

#include "framework/common_controls.h"

#include "framework/wide.h"

namespace fw {

bool AskOpenFile(const OpenFileRequest& request, std::string& path) {
    wchar_t file[MAX_PATH] = {};
    // By its length: the filter's pairs are separated by NULs.
    const WString filter = Widen(request.filter);
    const WString folder = Widen(request.initialFolder);
    const WString title = Widen(request.title);
    const WString extension = Widen(request.defaultExtension);
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = request.owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = folder.c_str();
    ofn.lpstrTitle = title.c_str();
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    ofn.Flags = request.flags | OFN_EXPLORER | OFN_ENABLESIZING;
    if (!OpenFileName(&ofn))
        return false;
    path = Narrow(file);
    return true;
}

} // namespace fw
