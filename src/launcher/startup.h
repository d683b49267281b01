// Start-up: picks designer or launcher mode and runs it to its end.
#pragma once
#include <windows.h>

#include "core/launch_config.h"
#include "core/product.h"
#include "framework/app.h"

class CSplashDlg;

namespace vk {

struct SoundJob;

constexpr const char* kSingleInstanceMutex = "VINTROSK_ONLYONCE";
constexpr DWORD kSplashMillis = 2000;

class AutorunApp : public fw::WinApp {
public:
    ~AutorunApp() override;
    BOOL InitInstance() override;

    HANDLE m_hSingleInstanceMutex = nullptr;
    SoundJob* m_pSoundJob = nullptr;
    CSplashDlg* m_pSplash = nullptr;

private:
    void RunDesignerMode();
    void RunDesigner();
};

AutorunApp& App();

using fw::PumpMessages;
// Waits 2000 ms, hides the splash, waits 10 ms more.
DWORD HideSplashAfterDelay(CSplashDlg* splash);
BOOL CALLBACK ActivateRunningDesigner(HWND hwnd, LPARAM);

} // namespace vk
