#include "controls/hyperlink_win.h"

#include <olectl.h>

#include "controls/hyperlink.h"
#include "controls/link_look.h"
#include "controls/shell_open_win.h"
#include "framework/wide.h"

namespace {
const UINT_PTR kToolId = 1;
} // namespace

CHyperLink::~CHyperLink() {
    if (m_hToolTip && ::IsWindow(m_hToolTip))
        ::DestroyWindow(m_hToolTip);
}

void CHyperLink::SetTarget(const std::string& target) {
    m_strTarget = target;
    if (!m_hWnd)
        return;
    ShowWindow(SW_HIDE);
    FitToText();
    if (m_hToolTip)
        SendToolMessage(TTM_UPDATETIPTEXTW);
    ShowWindow(SW_SHOW);
}

void CHyperLink::PreSubclassWindow() {
    const std::string text = GetWindowText();
    if (m_strTarget.empty())
        m_strTarget = text;
    if (text.empty())
        SetWindowText(m_strTarget);

    if (HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT))) {
        m_linkFont.Reset(vk::CreateLinkFont(font, (m_nStyle & kUnderline) != 0));
        if (m_linkFont)
            SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_linkFont.Get()), TRUE);
        FitToText();
    } else {
        // A static without a font of its own draws with the system font; left as it is.
        m_nStyle &= ~kFitToText;
    }
    CreateToolTip();
}

void CHyperLink::CreateToolTip() {
    m_hToolTip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, m_hWnd, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (m_hToolTip)
        SendToolMessage(TTM_ADDTOOLW);
}

// The link's one tool, covering its client area, with the target as its text; the tooltip
// keeps a copy of the text.
void CHyperLink::SendToolMessage(UINT msg) {
    fw::WString text = fw::Widen(m_strTarget);
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.hwnd = m_hWnd;
    tool.uId = kToolId;
    tool.lpszText = &text[0];
    ::GetClientRect(m_hWnd, &tool.rect);
    ::SendMessageW(m_hToolTip, msg, 0, reinterpret_cast<LPARAM>(&tool));
}

void CHyperLink::FitToText() {
    if (!(m_nStyle & kFitToText) || !m_hWnd)
        return;
    RECT window, client;
    ::GetWindowRect(m_hWnd, &window);
    ::GetClientRect(m_hWnd, &client);
    if (HWND parent = ::GetParent(m_hWnd))
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
    const int borderWidth = (window.right - window.left) - client.right;
    const int borderHeight = (window.bottom - window.top) - client.bottom;

    const std::string text = GetWindowText();
    SIZE extent = {0, 0};
    if (const fw::WindowDc dc(m_hWnd); dc) {
        HFONT font = m_linkFont ? m_linkFont.Get() : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        const fw::Selection selected(dc.Get(), font);
        const fw::WString wide = fw::Widen(text);
        ::GetTextExtentPoint32W(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
    }
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
    const fw::Placement place = vk::FitLinkToText({window.left, window.top, window.right, window.bottom}, borderWidth,
                                                  borderHeight, extent.cx, extent.cy, style);
    MoveWindow(place.x, place.y, place.width, place.height, TRUE);
}

void CHyperLink::OpenTarget() {
    const int result = OpenWithShell(m_strTarget, SW_SHOW);
    if (result > 32) {
        m_bVisited = true;
        Invalidate(TRUE);
        return;
    }
    ::MessageBeep(MB_ICONEXCLAMATION);
    ReportOpenError(result, ::GetAncestor(m_hWnd, GA_ROOT));
}

LRESULT CHyperLink::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    // The tooltip sees the mouse as it moves over the control.
    if (m_hToolTip && msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) {
        MSG relay = {m_hWnd, msg, wp, lp, static_cast<DWORD>(::GetMessageTime()), {}};
        ::GetCursorPos(&relay.pt);
        ::SendMessageW(m_hToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
    }
    switch (msg) {
    case OCM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(OnCtlColor(reinterpret_cast<HDC>(wp)));
    case WM_SETCURSOR:
        if (HCURSOR hand = vk::LinkHandCursor()) {
            ::SetCursor(hand);
            return TRUE;
        }
        return FALSE;
    case WM_MOUSEMOVE:
        OnMouseMove(lp);
        break;
    case WM_LBUTTONUP:
        if (m_bActive)
            OpenTarget();
        break;
    case WM_SETFOCUS:
        m_bActive = true;
        Invalidate(TRUE);
        break;
    case WM_KILLFOCUS:
        m_bHover = false;
        m_bActive = false;
        Invalidate(TRUE);
        break;
    case WM_KEYDOWN:
        if (wp == VK_SPACE) {
            OpenTarget();
            return 0;
        }
        break;
    case WM_SETFONT:
        // A font from outside (the dialog's, at a new scale): the link's own follows it.
        if (m_linkFont && reinterpret_cast<HFONT>(wp) != m_linkFont.Get()) {
            // The old font goes only once the control holds the new one.
            fw::Font old(m_linkFont.Release());
            m_linkFont.Reset(vk::CreateLinkFont(reinterpret_cast<HFONT>(wp), (m_nStyle & kUnderline) != 0));
            const LRESULT result = Default(msg, m_linkFont ? reinterpret_cast<WPARAM>(m_linkFont.Get()) : wp, lp);
            old.Reset();
            FitToText();
            return result;
        }
        break;
    case WM_NCHITTEST:
        // Mouse messages even without SS_NOTIFY.
        return HTCLIENT;
    case WM_LBUTTONDOWN:
        if (m_nStyle & kFocusOnClick)
            ::SetFocus(m_hWnd);
        m_bActive = true;
        break;
    case WM_CAPTURECHANGED:
        // Taken away (a message box, another window): the next move over the link takes it back.
        if (reinterpret_cast<HWND>(lp) != m_hWnd)
            m_bHover = false;
        break;
    }
    return Default(msg, wp, lp);
}

void CHyperLink::PostNcDestroy() {
    // The tooltip belongs to the dialog window, which may live on without this control.
    if (m_hToolTip && ::IsWindow(m_hToolTip))
        ::DestroyWindow(m_hToolTip);
    m_hToolTip = nullptr;
}

HBRUSH CHyperLink::OnCtlColor(HDC dc) {
    ::SetTextColor(dc, vk::LinkColour(m_bActive, m_bVisited));
    ::SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CHyperLink::OnMouseMove(LPARAM lp) {
    if (!m_bHover) {
        m_bHover = true;
        Invalidate(TRUE);
        ::SetCapture(m_hWnd);
        return;
    }
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const POINT pt = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    if (!::PtInRect(&client, pt)) {
        m_bHover = false;
        ::ReleaseCapture();
        Invalidate(TRUE);
    }
}
