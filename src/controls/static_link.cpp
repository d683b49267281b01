#include "controls/static_link.h"

#include <olectl.h>
#include <shellapi.h>

#include "controls/link_look.h"
#include "framework/wide.h"

CStaticLink::CStaticLink(const char* link, BOOL deleteOnDestroy)
    : m_strLink(link ? link : ""), m_bDeleteOnDestroy(deleteOnDestroy) {}

CStaticLink::~CStaticLink() = default;

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
    case WM_SETFONT:
        // A new font (the dialog's, at a new scale): the underlined one is made anew from it.
        m_underlineFont.Reset();
        break;
    }
    return Default(msg, wp, lp);
}

void CStaticLink::PostNcDestroy() {
    if (m_bDeleteOnDestroy)
        delete this;
}

bool CStaticLink::OpenTarget(const std::string& target) {
    HINSTANCE result = ::ShellExecuteW(nullptr, L"open", fw::Widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

void CStaticLink::BeepFailure() { ::MessageBeep(0); }

std::string CStaticLink::OwnStringResource() const {
    // A zero-length buffer answers a pointer into the resource itself, whatever its length.
    const wchar_t* text = nullptr;
    int length = ::LoadStringW(::GetModuleHandleW(nullptr), static_cast<UINT>(::GetDlgCtrlID(m_hWnd)),
                               reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return std::string();
    return fw::Narrow(text, static_cast<size_t>(length));
}

HBRUSH CStaticLink::OnCtlColor(HDC dc) {
    // Icons, bitmaps, frames and the like keep the parent's colours.
    const LONG type = ::GetWindowLongW(m_hWnd, GWL_STYLE) & SS_TYPEMASK;
    if (m_bNotALink || type > SS_RIGHT)
        return nullptr;
    if (!m_underlineFont) {
        HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        // Without a font of its own a static draws with the system font.
        m_underlineFont.Reset(
            vk::CreateLinkFont(font ? font : static_cast<HFONT>(::GetStockObject(SYSTEM_FONT)), true));
    }
    if (m_underlineFont)
        ::SelectObject(dc, m_underlineFont.Get());
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
    HCURSOR hand = vk::LinkHandCursor();
    if (!hand)
        return false;
    ::SetCursor(hand);
    return true;
}
