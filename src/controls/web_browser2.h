// The Web Browser control {8856F961-340A-11D0-A96B-00C04FD705A2}, called by dispatch id.
#pragma once
#include <string>

#include "framework/activex_site.h"

// The browser's events the program answers, as typed calls: whoever shows a browser
// implements them, and never sees the control's raw arguments.
class WebBrowserEvents {
public:
    // A navigation is about to start. sourceFrame is the address of the page in the frame that
    // starts it (empty where the browser has shown no page yet); setting cancel stops it.
    virtual void BeforeNavigate(const std::string& url, const std::string& sourceFrame, bool& cancel) = 0;
    virtual void TitleChange(const std::string& title) = 0;

protected:
    ~WebBrowserEvents() = default;
};

class CWebBrowser2 : public fw::AxControl {
public:
    // Its events reach the dialog as notifications from its host; DecodeEvent reads them.
    CWebBrowser2();

    // When header is the notification of one of the browser's events above, with the arguments
    // that event carries, calls it on events (writing back a cancel) and answers true. Other
    // notifications, and malformed events, are left alone.
    static bool DecodeEvent(const NMHDR* header, WebBrowserEvents& events);

    // Null pointers leave the optional arguments empty.
    HRESULT Navigate(const std::string& url, VARIANT* flags, VARIANT* targetFrameName, VARIANT* postData,
                     VARIANT* headers);
};
