#include "controls/web_browser2.h"

#include <exdisp.h>

#include "framework/on_demand.h"

namespace {
const DISPID kNavigate = 104;
}

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
