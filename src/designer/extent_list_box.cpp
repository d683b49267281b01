#include "designer/extent_list_box.h"

#include <cstring>
#include <vector>

namespace {

bool Failed(LRESULT result) { return result == LB_ERR || result == LB_ERRSPACE; }

} // namespace

LRESULT CExtentListBox::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    const LRESULT result = Default(msg, wp, lp);
    switch (msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
        if (!Failed(result))
            Grow(reinterpret_cast<const char*>(lp));
        break;
    case LB_DELETESTRING:
    case LB_DIR:
        if (!Failed(result))
            Recompute();
        break;
    case LB_RESETCONTENT:
        SendMessage(LB_SETHORIZONTALEXTENT, 0);
        break;
    }
    return result;
}

// Tabbed items are measured as the list box draws them; the margins keep the last letter clear
// of the border.
int CExtentListBox::TextWidth(const char* text) const {
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
    const int length = static_cast<int>(std::strlen(text));
    int width;
    if (::GetWindowLongA(m_hWnd, GWL_STYLE) & LBS_USETABSTOPS) {
        width = static_cast<short>(LOWORD(::GetTabbedTextExtentA(dc, text, length, 0, nullptr))) + 2;
    } else {
        SIZE size{};
        ::GetTextExtentPoint32A(dc, text, length, &size);
        width = size.cx + 3;
    }
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(m_hWnd, dc);
    return width;
}

void CExtentListBox::Grow(const char* text) {
    if (!text)
        return;
    const int width = TextWidth(text);
    if (width > static_cast<int>(SendMessage(LB_GETHORIZONTALEXTENT)))
        SendMessage(LB_SETHORIZONTALEXTENT, width);
}

void CExtentListBox::Recompute() {
    const int count = static_cast<int>(SendMessage(LB_GETCOUNT));
    if (count <= 0) {
        SendMessage(LB_SETHORIZONTALEXTENT, 0);
        return;
    }
    HCURSOR oldCursor = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    int widest = 0;
    std::vector<char> text;
    for (int i = 0; i < count; ++i) {
        const LRESULT length = SendMessage(LB_GETTEXTLEN, i);
        if (Failed(length))
            continue;
        text.assign(static_cast<size_t>(length) + 1, '\0');
        SendMessage(LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        const int width = TextWidth(text.data());
        if (width > widest)
            widest = width;
    }
    SendMessage(LB_SETHORIZONTALEXTENT, widest);
    ::SetCursor(oldCursor);
}
