// Failures the program goes on from, told to a debugger (DebugView on Windows, Wine's debugstr
// channel): nothing shows to the user, and whoever looks finds what failed and its code.
#pragma once
#include <windows.h>

namespace fw {

// what: the step, as "the browser's Navigate". Answers hr, so a caller can go on with it.
inline HRESULT LogIfFailed(HRESULT hr, const char* what) {
    if (FAILED(hr)) {
        char text[200];
        ::wsprintfA(text, "Vintrosk: %s failed, HRESULT 0x%08lX\n", what, static_cast<unsigned long>(hr));
        ::OutputDebugStringA(text);
    }
    return hr;
}

} // namespace fw
