#include "framework/app.h"

#include <commctrl.h>
#include <ole2.h>

#include "framework/activex_site.h"
#include "framework/handles.h"

namespace fw {

WinApp* WinApp::s_current = nullptr;

WinApp::WinApp() { s_current = this; }
WinApp::~WinApp() {
    if (m_oleReady)
        ::OleUninitialize();
    if (m_comReady)
        ::CoUninitialize();
    s_current = nullptr;
}

bool WinApp::InitCom() {
    if (!m_comReady)
        m_comReady = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    return m_comReady;
}

bool WinApp::EnableControlContainer() {
    if (!m_oleReady)
        m_oleReady = SUCCEEDED(::OleInitialize(nullptr));
    // Without OLE the hosts still make their dialogs, just with no control inside.
    const bool hosts = RegisterAxHost();
    return m_oleReady && hosts;
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (TranslateControlKey(msg))
            continue;
        if (!::IsDialogMessageW(nullptr, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

bool BeginThread(DWORD(WINAPI* body)(void*), void* param) {
    // The thread runs on its own: its handle is not kept.
    return static_cast<bool>(KernelHandle(::CreateThread(nullptr, 0, body, param, 0, nullptr)));
}

} // namespace fw
