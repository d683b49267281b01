// The caption-less popup that shows a splash picture.
#pragma once
#include <string>

#include "framework/dialog.h"

class CSplashDlg : public fw::Dialog {
public:
    enum { IDD = 130 };
    explicit CSplashDlg(HWND parent = nullptr) : fw::Dialog(IDD, parent) {}

    std::string m_strImagePath;
};
