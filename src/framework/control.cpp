#include "framework/control.h"

#include "framework/wide.h"

namespace fw {

Control* Control::s_creating = nullptr;

Control::~Control() { UnsubclassWindow(); }

bool Control::SubclassWindow(HWND hwnd) {
    if (!hwnd || m_hWnd)
        return false;
    m_hWnd = hwnd;
    PreSubclassWindow();
    if (!SetSubclass(hwnd, SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this))) {
        m_hWnd = nullptr;
        return false;
    }
    return true;
}

bool Control::Create(const char* className, const char* text, DWORD style, const RECT& rect, HWND parent, int id) {
    if (m_hWnd)
        return false;
    EnsureCommonControls();
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, CreationHook, nullptr, ::GetCurrentThreadId());
    if (!hook)
        return false;
    s_creating = this;
    HWND hwnd =
        ::CreateWindowExW(0, Widen(className ? className : "").c_str(), Widen(text ? text : "").c_str(), style,
                          rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    s_creating = nullptr;
    ::UnhookWindowsHookEx(hook);
    return hwnd != nullptr;
}

LRESULT CALLBACK Control::CreationHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND && s_creating) {
        // The first window made is the control itself; any it makes in turn stay its own.
        Control* control = s_creating;
        s_creating = nullptr;
        control->SubclassWindow(reinterpret_cast<HWND>(wp));
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

void Control::UnsubclassWindow() {
    if (m_hWnd)
        RemoveSubclass(m_hWnd, SubclassProc, 0);
    m_hWnd = nullptr;
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    Control* self = reinterpret_cast<Control*>(data);
    if (msg == WM_NCDESTROY) {
        LRESULT result = DefaultSubclassProc(hwnd, msg, wp, lp);
        self->UnsubclassWindow();
        self->PostNcDestroy();
        return result;
    }
    return self->WindowProc(msg, wp, lp);
}

} // namespace fw
