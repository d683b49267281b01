// The Web Browser control {8856F961-340A-11D0-A96B-00C04FD705A2}, called by dispatch id.
#pragma once
#include <string>

#include "framework/activex_site.h"

class CWebBrowser2 : public fw::AxControl {
public:
    // Its events, BeforeNavigate2 and TitleChange among them, reach the dialog.
    CWebBrowser2();

    // Null pointers leave the optional arguments empty.
    HRESULT Navigate(const std::string& url, VARIANT* flags, VARIANT* targetFrameName, VARIANT* postData,
                     VARIANT* headers);
};
