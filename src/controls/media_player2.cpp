#include "controls/media_player2.h"

#include "framework/on_demand.h"

namespace {
const DISPID kProperty23 = 23;
const DISPID kOpen = 2010;
} // namespace

HRESULT CMediaPlayer2::PutProperty23(bool value) {
    VARIANTARG arg{};
    arg.vt = VT_BOOL;
    arg.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return Invoke(kProperty23, DISPATCH_PROPERTYPUT, &arg, 1);
}

HRESULT CMediaPlayer2::Open(const std::string& file) {
    VARIANTARG arg{};
    arg.vt = VT_BSTR;
    arg.bstrVal = fw::Utf8ToBstr(file);
    if (!arg.bstrVal)
        return E_OUTOFMEMORY;
    const HRESULT hr = Invoke(kOpen, DISPATCH_METHOD, &arg, 1);
    fw::FreeBstr(arg.bstrVal);
    return hr;
}
