#include "controls/link_look.h"

namespace vk {

HCURSOR LinkHandCursor() {
    static HCURSOR cursor = [] {
        const WORD kHelpHandCursor = 106;
        HCURSOR hand = nullptr;
        char path[MAX_PATH + 16] = {};
        const UINT length = ::GetWindowsDirectoryA(path, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            lstrcatA(path, "\\winhlp32.exe");
            // As data only, by its full path: nothing of the help program runs in this process.
            if (HMODULE help = ::LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
                if (HCURSOR own = ::LoadCursorA(help, MAKEINTRESOURCEA(kHelpHandCursor)))
                    hand = ::CopyIcon(own);
                ::FreeLibrary(help);
            }
        }
        return hand ? hand : ::LoadCursorA(nullptr, IDC_HAND);
    }();
    return cursor;
}

HFONT CreateLinkFont(HFONT font, bool underline) {
    LOGFONTA lf;
    if (!font || ::GetObjectA(font, sizeof lf, &lf) != sizeof lf)
        return nullptr;
    lf.lfUnderline = underline ? TRUE : FALSE;
    return ::CreateFontIndirectA(&lf);
}

} // namespace vk
