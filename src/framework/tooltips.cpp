#include "framework/tooltips.h"

#include <commctrl.h>

#include "framework/ansi_wide.h"

namespace fw {

bool ToolTips::Enable(HWND dialog) {
    if (m_hWnd)
        return true;
    m_hWnd = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (!m_hWnd)
        return false;
    // Long tips wrap instead of running off the screen.
    SendMessage(TTM_SETMAXTIPWIDTH, 0, 400);
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        TTTOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = dialog;
        tool.uId = reinterpret_cast<UINT_PTR>(child);
        tool.lpszText = LPSTR_TEXTCALLBACKA;
        SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return true;
}

int ToolTipControlId(const NMHDR* header) {
    UINT flags = header->code == TTN_GETDISPINFOW ? reinterpret_cast<const NMTTDISPINFOW*>(header)->uFlags
                                                  : reinterpret_cast<const NMTTDISPINFOA*>(header)->uFlags;
    if (!(flags & TTF_IDISHWND))
        return 0;
    return ::GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom));
}

void SetToolTipText(NMHDR* header, const char* text) {
    if (header->code == TTN_GETDISPINFOW) {
        // The tooltip reads the text after the handler returns.
        static std::vector<wchar_t> wide;
        wide = AnsiToWide(text);
        reinterpret_cast<NMTTDISPINFOW*>(header)->lpszText = wide.data();
    } else {
        reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText = const_cast<char*>(text);
    }
}

} // namespace fw
