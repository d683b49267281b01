// Dialogs: one static dialog procedure binds `this` (kept in the window's user data) and
// forwards to small virtual handlers with their parameters unpacked. A dialog is modal
// (ModalDialog: DoModal, EndDialog) or modeless (ModelessDialog: Create, DestroyWindow), never
// both; Dialog is what they share.
#pragma once
#include "framework/data_exchange.h"
#include "framework/wnd.h"

namespace fw {

class Dialog : public Wnd {
public:
    ~Dialog() override;

    // save: controls to members; otherwise members to controls.
    void UpdateData(bool save);

    // Controls by id. ShowItem answers whether the control was visible before, EnableItem
    // whether it was disabled before (as ShowWindow and EnableWindow do); the rest whether
    // they succeeded.
    bool ShowItem(int id, int cmdShow) const { return ::ShowWindow(GetDlgItem(id), cmdShow) != FALSE; }
    bool EnableItem(int id, bool enable) const { return ::EnableWindow(GetDlgItem(id), enable) != FALSE; }
    bool SetItemText(int id, const std::string& text) const {
        return ::SetDlgItemTextW(m_hWnd, id, Widen(text).c_str()) != FALSE;
    }
    std::string GetItemText(int id) const { return Wnd(GetDlgItem(id)).GetWindowText(); }
    bool IsItemChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }
    bool CheckItem(int id, bool check) const {
        return ::CheckDlgButton(m_hWnd, id, check ? BST_CHECKED : BST_UNCHECKED) != FALSE;
    }
    // Text in and out of it is UTF-16.
    LRESULT SendItemMessage(int id, UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
        return ::SendDlgItemMessageW(m_hWnd, id, msg, wp, lp);
    }

protected:
    Dialog(int templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

    // Ends the dialog as its kind does: a modal one returns result from DoModal, a modeless
    // one is destroyed.
    virtual void Close(INT_PTR result) = 0;
    // Whether a dialog that does not place itself in OnInitDialog, and whose template does not
    // centre it, is centred on its owner (or on the work area) before it shows.
    virtual bool CentresUnplaced() const { return false; }

    virtual void DoDataExchange(DataExchange&) {}
    // The base fills the controls from the members; answer TRUE to let the system set focus.
    virtual BOOL OnInitDialog();
    // OK saves the controls to the members, then closes; Cancel closes.
    virtual void OnOK();
    virtual void OnCancel();
    // Each answers whether it handled the message.
    virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
    virtual bool OnSysCommand(WPARAM /*command*/, LPARAM) { return false; }
    virtual bool OnPaint() { return false; }
    virtual HICON OnQueryDragIcon() { return nullptr; }
    virtual bool OnNotify(NMHDR* /*header*/, LRESULT& /*result*/) { return false; }
    virtual void OnSize(UINT /*type*/, int /*cx*/, int /*cy*/) {}
    virtual bool OnGetMinMaxInfo(MINMAXINFO*) { return false; }
    // Moved to a screen of another scale (WM_DPICHANGED). Unhandled, the system scales a dialog
    // from its template (per-monitor aware, Windows 10 1703 and later).
    virtual bool OnDpiChanged(int /*dpi*/, const RECT& /*suggested*/) { return false; }
    virtual void OnDestroy() {}
    // Any other message.
    virtual bool OnMessage(UINT /*msg*/, WPARAM, LPARAM, LRESULT& /*result*/) { return false; }

    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    int m_templateId;
    HWND m_parent;

private:
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    // Fills list controls from the template's own initialisation data, if it has any.
    void ApplyInitData();
    // before: the window's rectangle ahead of OnInitDialog.
    void CentreUnplaced(const RECT& before);
};

// Shown by DoModal, which returns when EndDialog is called. One that does not place itself is
// centred on its owner.
class ModalDialog : public Dialog {
public:
    ModalDialog(int templateId, HWND parent) : Dialog(templateId, parent) {}
    INT_PTR DoModal();
    void EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

protected:
    void Close(INT_PTR result) override { EndDialog(result); }
    bool CentresUnplaced() const override { return true; }
};

// Made by Create and living until DestroyWindow or the end of the process. EndDialog would only
// hide such a window, so closing it (the close box, Esc, Cancel or OK) destroys it.
class ModelessDialog : public Dialog {
public:
    ModelessDialog(int templateId, HWND parent) : Dialog(templateId, parent) {}
    // From the template and owner it was made with.
    bool Create();
    bool DestroyWindow() { return ::DestroyWindow(m_hWnd) != FALSE; }

protected:
    void Close(INT_PTR) override { DestroyWindow(); }
};

} // namespace fw
