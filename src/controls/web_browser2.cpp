#include "controls/web_browser2.h"

#include <exdisp.h>

#include "framework/on_demand.h"

namespace {
const DISPID kNavigate = 104;
const DISPID kBeforeNavigate2 = 250;
const DISPID kTitleChange = 113;
const DISPID kLocationUrl = 211;
} // namespace

CWebBrowser2::CWebBrowser2() : fw::AxControl(&DIID_DWebBrowserEvents2) {}

HRESULT CWebBrowser2::Navigate(const std::string& url, VARIANT* flags, VARIANT* targetFrameName, VARIANT* postData,
                               VARIANT* headers) {
    BSTR wideUrl = fw::Utf8ToBstr(url);
    if (!wideUrl)
        return E_OUTOFMEMORY;
    VARIANT empty{}; // VT_EMPTY
    VARIANTARG args[5] = {};
    args[0].vt = VT_BSTR;
    args[0].bstrVal = wideUrl;
    VARIANT* optional[] = {flags, targetFrameName, postData, headers};
    for (int i = 0; i < 4; ++i) {
        args[i + 1].vt = VT_BYREF | VT_VARIANT;
        args[i + 1].pvarVal = optional[i] ? optional[i] : &empty;
    }
    const HRESULT hr = Invoke(kNavigate, DISPATCH_METHOD, args, 5);
    fw::FreeBstr(wideUrl);
    return hr;
}

bool CWebBrowser2::DecodeEvent(const NMHDR* header, WebBrowserEvents& events) {
    const fw::AxEvent* event = fw::AsAxEvent(header);
    if (!event)
        return false;
    const UINT count = event->params ? event->params->cArgs : 0;
    if (event->dispid == kBeforeNavigate2) {
        // Browser, URL, flags, target frame name, post data, headers, cancel.
        std::string url;
        VARIANT_BOOL* cancelArg = fw::ArgBoolRef(fw::EventArg(*event, 6));
        if (count != 7 || !cancelArg || !fw::ArgText(fw::EventArg(*event, 1), url))
            return false;
        // Each frame has a browser object of its own: the one that fires is where the
        // navigation starts.
        std::string source;
        fw::TextProperty(fw::ArgDispatch(fw::EventArg(*event, 0)), kLocationUrl, source);
        bool cancel = *cancelArg != VARIANT_FALSE;
        events.BeforeNavigate(url, source, cancel);
        *cancelArg = cancel ? VARIANT_TRUE : VARIANT_FALSE;
        return true;
    }
    if (event->dispid == kTitleChange) {
        std::string title;
        if (count != 1 || !fw::ArgText(fw::EventArg(*event, 0), title))
            return false;
        events.TitleChange(title);
        return true;
    }
    return false;
}
