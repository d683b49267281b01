#include "framework/dialog.h"

#include <olectl.h>

#include <cstring>

#include "framework/common_controls.h"
#include "framework/wide.h"

namespace fw {
namespace {

// The initialisation data of a dialog template: records of control id, message, length and
// data, ended by a zero id. Messages carry their 16-bit numbers.
constexpr WORD kInitDataType = 240;
constexpr WORD kOldLbAddString = 0x0401;
constexpr WORD kOldCbAddString = 0x0403;

} // namespace

Dialog::~Dialog() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
}

INT_PTR ModalDialog::DoModal() {
    EnsureCommonControls();
    INT_PTR result = ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), m_parent,
                                       DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return result;
}

bool ModelessDialog::Create() {
    EnsureCommonControls();
    HWND hwnd = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), m_parent, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

void Dialog::UpdateData(bool save) {
    DataExchange dx(m_hWnd, save);
    DoDataExchange(dx);
}

BOOL Dialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void Dialog::OnOK() {
    UpdateData(true);
    Close(IDOK);
}

void Dialog::OnCancel() { Close(IDCANCEL); }

void Dialog::CentreUnplaced(const RECT& before) {
    if (!CentresUnplaced() || !m_hWnd)
        return;
    const LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    if (style & (WS_CHILD | DS_CENTER | DS_CENTERMOUSE))
        return;
    RECT after;
    ::GetWindowRect(m_hWnd, &after);
    if (after.left == before.left && after.top == before.top)
        CenterWindow();
}

void Dialog::ApplyInitData() {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(m_templateId), MAKEINTRESOURCEW(kInitDataType));
    if (!found)
        return;
    const BYTE* data = static_cast<const BYTE*>(::LockResource(::LoadResource(module, found)));
    const BYTE* end = data + ::SizeofResource(module, found);
    while (data && end - data >= 8) {
        WORD id, msg;
        DWORD length;
        std::memcpy(&id, data, 2);
        std::memcpy(&msg, data + 2, 2);
        std::memcpy(&length, data + 4, 4);
        data += 8;
        if (id == 0 || length > static_cast<DWORD>(end - data))
            break;
        UINT add = msg == kOldCbAddString ? CB_ADDSTRING : msg == kOldLbAddString ? LB_ADDSTRING : 0;
        if (add && length > 0 && data[length - 1] == 0)
            SendItemMessage(id, add, 0, reinterpret_cast<LPARAM>(Widen(reinterpret_cast<const char*>(data)).c_str()));
        data += length;
    }
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Dialog* self;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lp);
        self->m_hWnd = hwnd;
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lp);
    } else {
        self = reinterpret_cast<Dialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (!self)
        return FALSE;
    INT_PTR result = self->HandleMessage(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    return result;
}

INT_PTR Dialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG: {
        ApplyInitData();
        RECT before;
        ::GetWindowRect(m_hWnd, &before);
        const BOOL result = OnInitDialog();
        CentreUnplaced(before);
        return result;
    }
    case WM_COMMAND: {
        int id = LOWORD(wp), code = HIWORD(wp);
        HWND control = reinterpret_cast<HWND>(lp);
        if (OnCommand(id, code, control))
            return TRUE;
        if (code == BN_CLICKED && id == IDOK) {
            OnOK();
            return TRUE;
        }
        if (code == BN_CLICKED && id == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
        return FALSE;
    }
    case WM_SYSCOMMAND:
        return OnSysCommand(wp, lp);
    case WM_PAINT:
        return OnPaint();
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(OnQueryDragIcon());
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (!OnNotify(reinterpret_cast<NMHDR*>(lp), result))
            return FALSE;
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_SIZE:
        OnSize(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
        return FALSE;
    case WM_GETMINMAXINFO:
        return OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lp));
    case 0x02E0: // WM_DPICHANGED, Windows 8.1 and later
        return OnDpiChanged(LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        // Reflected first to the control, so that a custom control can colour itself; a null
        // answer leaves it to the dialog. A brush is the dialog procedure's direct answer.
        if (LRESULT brush = ::SendMessageW(reinterpret_cast<HWND>(lp), OCM__BASE + msg, wp, lp))
            return brush;
        LRESULT result = 0;
        return OnMessage(msg, wp, lp, result) ? result : FALSE;
    }
    default: {
        LRESULT result = 0;
        if (!OnMessage(msg, wp, lp, result))
            return FALSE;
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    }
}

} // namespace fw
