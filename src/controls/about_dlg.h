// The About box of the designer's system menu.
#pragma once
#include "framework/dialog.h"

class CAboutDlg : public fw::Dialog {
public:
    enum { IDD = 100 };
    explicit CAboutDlg(HWND parent = nullptr) : fw::Dialog(IDD, parent) {}
};
