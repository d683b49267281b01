#include "controls/link_look.h"

namespace vk {

HCURSOR LinkHandCursor() {
    static HCURSOR cursor = [] {
        const WORD kHelpHandCursor = 106;
        HCURSOR hand = nullptr;
        wchar_t path[MAX_PATH + 16] = {};
        const UINT length = ::GetWindowsDirectoryW(path, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            ::lstrcatW(path, L"\\winhlp32.exe");
            // As data only, by its full path: nothing of the help program runs in this process.
            if (HMODULE help = ::LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
                if (HCURSOR own = ::LoadCursorW(help, MAKEINTRESOURCEW(kHelpHandCursor)))
                    hand = ::CopyIcon(own);
                ::FreeLibrary(help);
            }
        }
        return hand ? hand : ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
    }();
    return cursor;
}

HFONT CreateLinkFont(HFONT font, bool underline) {
    LOGFONTW lf;
    if (!font || ::GetObjectW(font, sizeof lf, &lf) != sizeof lf)
        return nullptr;
    lf.lfUnderline = underline ? TRUE : FALSE;
    return ::CreateFontIndirectW(&lf);
}

} // namespace vk
