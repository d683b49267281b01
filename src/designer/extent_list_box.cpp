#include "designer/extent_list_box.h"

#include <vector>

#include "framework/dpi_scale.h"
#include "framework/handles.h"

namespace {

bool Failed(LRESULT result) { return result == LB_ERR || result == LB_ERRSPACE; }

} // namespace

LRESULT CExtentListBox::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    const LRESULT result = Default(msg, wp, lp);
    switch (msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
        if (!Failed(result))
            Grow(static_cast<int>(result));
        break;
    case LB_DELETESTRING:
    case LB_DIR:
        if (!Failed(result))
            Recompute();
        break;
    case LB_RESETCONTENT:
        Send(LB_SETHORIZONTALEXTENT, 0);
        break;
    }
    return result;
}

LRESULT CExtentListBox::Send(UINT msg, WPARAM wp, LPARAM lp) const { return ::SendMessageW(m_hWnd, msg, wp, lp); }

// Read back as wide text, whichever character set the item was added in, so that what is
// measured is what the list box shows.
int CExtentListBox::ItemWidth(int index) const {
    const LRESULT length = Send(LB_GETTEXTLEN, index);
    if (Failed(length))
        return -1;
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got = Send(LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    if (Failed(got))
        return -1;
    return TextWidth(text.data(), static_cast<int>(got));
}

// Tabbed items are measured as the list box draws them; the margins keep the last letter clear
// of the border, at the screen's scale as the text is.
int CExtentListBox::TextWidth(const wchar_t* text, int length) const {
    const fw::WindowDc window(m_hWnd);
    HDC dc = window.Get();
    const fw::Selection font(dc, reinterpret_cast<HGDIOBJ>(Send(WM_GETFONT)));
    int width;
    if (::GetWindowLongW(m_hWnd, GWL_STYLE) & LBS_USETABSTOPS) {
        width =
            static_cast<short>(LOWORD(::GetTabbedTextExtentW(dc, text, length, 0, nullptr))) + fw::ScaleToDpi(2, Dpi());
    } else {
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text, length, &size);
        width = size.cx + fw::ScaleToDpi(3, Dpi());
    }
    return width;
}

void CExtentListBox::Grow(int index) {
    const int width = ItemWidth(index);
    if (width > static_cast<int>(Send(LB_GETHORIZONTALEXTENT)))
        Send(LB_SETHORIZONTALEXTENT, width);
}

void CExtentListBox::Recompute() {
    const int count = static_cast<int>(Send(LB_GETCOUNT));
    if (count <= 0) {
        Send(LB_SETHORIZONTALEXTENT, 0);
        return;
    }
    HCURSOR oldCursor = ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    int widest = 0;
    for (int i = 0; i < count; ++i) {
        const int width = ItemWidth(i);
        if (width > widest)
            widest = width;
    }
    Send(LB_SETHORIZONTALEXTENT, widest);
    ::SetCursor(oldCursor);
}
