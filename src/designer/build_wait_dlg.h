// Create CD's wait window: what the build reads or writes, how far it is, a bar, and Cancel.
// Cancel (the button, Esc or the close box) only asks the build to stop; the window goes when
// the build has ended.
#pragma once
#include "designer/build_wait_ids.h"
#include "disc/builder.h"
#include "controls/wait_dlg.h"

class CBuildWaitDlg : public CWaitDlg {
public:
    enum { IDD = IDD_BUILD_WAIT };
    explicit CBuildWaitDlg(HWND owner) : CWaitDlg(IDD, owner) {}
    bool CancelAsked() const { return m_cancel; }
    void Show(const vk::BuildProgress& progress);

protected:
    void OnOK() override {}
    void OnCancel() override;

private:
    bool m_cancel = false;
    int m_stage = -1;
    int m_perMille = -2;
};
