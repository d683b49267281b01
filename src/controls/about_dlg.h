// The About box of the designer's system menu.
#pragma once
#include "controls/about_ids.h"
#include "framework/dialog.h"

class CAboutDlg : public fw::ModalDialog {
public:
    enum { IDD = IDD_ABOUT };
    explicit CAboutDlg(HWND parent = nullptr) : fw::ModalDialog(IDD, parent) {}
};
