// "Please wait ..": a modeless window that shows what a long operation is working on. Its
// owner creates it, sets text 1031 (and label 1030 if it likes) as it goes, then destroys it.
#pragma once
#include "framework/dialog.h"

class CWaitDlg : public fw::Dialog {
public:
    enum { IDD = 142, IDC_LABEL = 1030, IDC_TEXT = 1031 };
    CWaitDlg() : fw::Dialog(IDD, nullptr) {}
};
