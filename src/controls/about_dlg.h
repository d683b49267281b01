// The About box of the designer's system menu.
#pragma once
#include "controls/about_ids.h"
#include "framework/dialog.h"

class CAboutDlg : public fw::Dialog {
public:
    enum { IDD = IDD_ABOUT };
    explicit CAboutDlg(HWND parent = nullptr) : fw::Dialog(IDD, parent) {}
};
