// "Please wait ..": a modeless window that shows what a long operation is working on. Its
// owner creates it, sets the text (and the label if it likes) as it goes, then destroys it.
#pragma once
#include "controls/wait_ids.h"
#include "framework/dialog.h"

class CWaitDlg : public fw::ModelessDialog {
public:
    enum { IDD = IDD_WAIT };
    explicit CWaitDlg(HWND owner = nullptr) : fw::ModelessDialog(IDD, owner) {}

protected:
    // A window of the same kind on a template of its own.
    CWaitDlg(int templateId, HWND owner) : fw::ModelessDialog(templateId, owner) {}
};
