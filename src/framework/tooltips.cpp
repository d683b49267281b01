#include "framework/tooltips.h"

#include "framework/common_controls.h"

#include <string>

#include "framework/wide.h"

namespace fw {

bool ToolTips::Enable(HWND dialog) {
    if (m_hWnd)
        return true;
    EnsureCommonControls();
    m_hWnd = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!m_hWnd)
        return false;
    // Long tips wrap instead of running off the screen.
    SendMessage(TTM_SETMAXTIPWIDTH, 0, 400);
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        TTTOOLINFOW tool = {};
        tool.cbSize = TTTOOLINFOW_V1_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = dialog;
        tool.uId = reinterpret_cast<UINT_PTR>(child);
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        ::SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
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
    // The tooltip reads the text after the handler returns.
    static WString wide;
    wide = Widen(text ? text : "");
    if (header->code == TTN_GETDISPINFOW) {
        reinterpret_cast<NMTTDISPINFOW*>(header)->lpszText = &wide[0];
        return;
    }
    // A tooltip that asks for ANSI text gets it in the system's code page, not in UTF-8.
    static std::string ansi;
    const int size = ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    ansi.assign(size > 0 ? size : 1, '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &ansi[0], size, nullptr, nullptr);
    reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText = &ansi[0];
}

} // namespace fw
