// The application object: one global instance whose InitInstance runs the whole program.
#pragma once
#include <windows.h>

namespace fw {

class WinApp {
public:
    WinApp();
    virtual ~WinApp();
    WinApp(const WinApp&) = delete;
    WinApp& operator=(const WinApp&) = delete;

    // Answer FALSE to end the process when it returns.
    virtual BOOL InitInstance() = 0;
    static WinApp* Current() { return s_current; }
    // COM in a single-threaded apartment: the shell may hand a file to COM objects. Cheap, unlike
    // OLE, which loads the display under Wine.
    bool InitCom();
    // OLE, for pictures and ActiveX controls, and the host window class that dialog templates
    // name for an ActiveX control; called when a window is about to be shown.
    bool EnableControlContainer();

private:
    static WinApp* s_current;
    bool m_comReady = false;
    bool m_oleReady = false;
};

// Handles every message waiting for the calling thread and returns without waiting.
void PumpMessages();

// Starts a worker thread at normal priority with the default stack size; the handle is not kept.
bool BeginThread(DWORD(WINAPI* body)(void*), void* param);

} // namespace fw
