// A child control whose messages pass through a virtual window procedure first
// (subclassing), for the program's custom statics.
#pragma once
#include "framework/wnd.h"

#include "framework/common_controls.h"

namespace fw {

class Control : public Wnd {
public:
    ~Control() override;
    // Attaches to an existing control; PreSubclassWindow runs first.
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(int id, HWND parent) { return SubclassWindow(::GetDlgItem(parent, id)); }
    void UnsubclassWindow();
    // Creates the control as a child window, attached from its first message on, so that its
    // own WM_CREATE handling runs too.
    bool Create(const char* className, const char* text, DWORD style, const RECT& rect, HWND parent, int id);

protected:
    virtual void PreSubclassWindow() {}
    // Answer the message here, or hand it on with Default.
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefaultSubclassProc(m_hWnd, msg, wp, lp); }
    // Called after the window is gone; the object may delete itself here.
    virtual void PostNcDestroy() {}

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LRESULT CALLBACK CreationHook(int code, WPARAM wp, LPARAM lp);
    // The control being created; windows are made on the main thread only.
    static Control* s_creating;
};

} // namespace fw
