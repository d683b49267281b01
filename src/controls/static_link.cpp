#include "controls/static_link.h"

#include <olectl.h>
#include <shellapi.h>

#include <vector>

#include "framework/ansi_wide.h"

HCURSOR CStaticLink::s_hLinkCursor = nullptr;
bool CStaticLink::s_bCursorTried = false;

namespace {

// The hand from the help program's resources, or the system's own hand where that is missing.
// Loaded as data only: a module found by plain name runs no code of its own here.
HCURSOR LoadLinkCursor() {
    const WORD kHelpHandCursor = 106;
    HCURSOR cursor = nullptr;
    if (HMODULE help = ::LoadLibraryExA("winhlp32.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        if (HCURSOR hand = ::LoadCursorA(help, MAKEINTRESOURCEA(kHelpHandCursor)))
            cursor = ::CopyIcon(hand);
        ::FreeLibrary(help);
    }
    return cursor ? cursor : ::LoadCursorA(nullptr, IDC_HAND);
}

} // namespace

CStaticLink::CStaticLink(const char* link, BOOL deleteOnDestroy)
    : m_strLink(link ? link : ""), m_bDeleteOnDestroy(deleteOnDestroy) {}

CStaticLink::~CStaticLink() {
    if (m_hUnderlineFont)
        ::DeleteObject(m_hUnderlineFont);
}

LRESULT CStaticLink::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCHITTEST:
        // Mouse messages even without SS_NOTIFY.
        return HTCLIENT;
    case OCM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(OnCtlColor(reinterpret_cast<HDC>(wp)));
    case WM_LBUTTONDOWN:
        OnLButtonDown();
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor())
            return TRUE;
        break;
    }
    return Default(msg, wp, lp);
}

void CStaticLink::PostNcDestroy() {
    if (m_bDeleteOnDestroy)
        delete this;
}

bool CStaticLink::OpenTarget(const std::string& target) {
    HINSTANCE result = ::ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

void CStaticLink::BeepFailure() { ::MessageBeep(0); }

std::string CStaticLink::OwnStringResource() const {
    // A zero-length buffer answers a pointer into the resource itself, whatever its length.
    const wchar_t* text = nullptr;
    int length = ::LoadStringW(::GetModuleHandleA(nullptr), static_cast<UINT>(::GetDlgCtrlID(m_hWnd)),
                               reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return std::string();
    return fw::WideToAnsi(text, static_cast<size_t>(length));
}

HBRUSH CStaticLink::OnCtlColor(HDC dc) {
    // Icons, bitmaps, frames and the like keep the parent's colours.
    const LONG type = ::GetWindowLongA(m_hWnd, GWL_STYLE) & SS_TYPEMASK;
    if (m_bNotALink || type > SS_RIGHT)
        return nullptr;
    if (!m_hUnderlineFont) {
        HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        // Without a font of its own a static draws with the system font.
        LOGFONTA lf;
        if (::GetObjectA(font ? font : ::GetStockObject(SYSTEM_FONT), sizeof lf, &lf) == sizeof lf) {
            lf.lfUnderline = TRUE;
            m_hUnderlineFont = ::CreateFontIndirectA(&lf);
        }
    }
    if (m_hUnderlineFont)
        ::SelectObject(dc, m_hUnderlineFont);
    ::SetTextColor(dc, m_color);
    ::SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CStaticLink::OnLButtonDown() {
    if (m_bNotALink)
        return;
    // The target as set, then the window text, then the string resource of the control's id;
    // each later source replaces the target before it is tried.
    for (int source = 0; source < 3; ++source) {
        if (source == 1)
            m_strLink = GetWindowText();
        else if (source == 2)
            m_strLink = OwnStringResource();
        if (!m_strLink.empty() && OpenTarget(m_strLink)) {
            m_color = kVisited;
            Invalidate(TRUE);
            return;
        }
    }
    BeepFailure();
    m_bNotALink = TRUE;
    // Drop the link look now rather than at the next repaint.
    Invalidate(TRUE);
}

bool CStaticLink::OnSetCursor() {
    if (m_bNotALink)
        return false;
    if (!s_hLinkCursor && !s_bCursorTried) {
        s_bCursorTried = true;
        s_hLinkCursor = LoadLinkCursor();
    }
    if (!s_hLinkCursor)
        return false;
    ::SetCursor(s_hLinkCursor);
    return true;
}
