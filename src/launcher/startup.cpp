#include "launcher/startup.h"

#include <string>

#include "launcher/autoplay_win.h"
#include "launcher/autoplay.h"
#include "core/win/launch_config_win.h"
#include "core/win/module_path.h"
#include "controls/splash_dlg.h"
#include "disc/command_build.h"
#include "disc/win/command_build_win.h"
#include "designer/designer_dlg.h"
#include "framework/wide.h"

namespace vk {

static AutorunApp theApp;

static DWORD WINAPI HideSplashThread(void* splash) { return HideSplashAfterDelay(static_cast<CSplashDlg*>(splash)); }

AutorunApp& App() { return theApp; }

AutorunApp::~AutorunApp() {
    if (m_hSingleInstanceMutex)
        ::CloseHandle(m_hSingleInstanceMutex);
    delete m_pSoundJob;
    delete m_pSplash;
}

BOOL AutorunApp::InitInstance() {
    const std::vector<std::string> args = CommandLineArguments();
    if (IsCommandBuild(args))
        ::ExitProcess(
            static_cast<UINT>(RunCommandBuildOnWindows(std::vector<std::string>(args.begin() + 2, args.end()))));
    InitCom();
    LaunchConfig config = ReadLaunchConfig();
    switch (ChooseStartupPath(config)) {
    case StartupPath::NoConfig: {
        const std::string text =
            std::string("Vintrosk! creates auto-playable CD-ROMs.\n\nTo run the designer and create your own "
                        "autorun CD-ROMs, please double-click the Vintrosk! desktop icon or re-install the "
                        "software from ") +
            kProductWebAddress;
        ::MessageBoxW(nullptr, fw::Widen(text).c_str(), fw::Widen(kAppTitle).c_str(), MB_OK | MB_ICONINFORMATION);
        break;
    }
    case StartupPath::DesignerNoCheck:
        RunDesigner();
        break;
    case StartupPath::Designer:
        RunDesignerMode();
        break;
    case StartupPath::Launcher:
        RunAutoplay(config);
        break;
    }
    return FALSE;
}

// The mutex marks a running designer across processes (it is never waited on): two designers
// would both empty and rebuild the one output folder on the desktop. A second start finds the
// first by its caption instead, since the mutex says only that it runs, not where its window is.
void AutorunApp::RunDesignerMode() {
    m_hSingleInstanceMutex = ::CreateMutexW(nullptr, TRUE, fw::Widen(kSingleInstanceMutex).c_str());
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::EnumWindows(ActivateRunningDesigner, 0);
        return;
    }
    EnableControlContainer();
    m_pSplash = new CSplashDlg(nullptr);
    m_pSplash->m_strImagePath = ModuleFolder() + "\\splashscreen.jpg";
    if (m_pSplash->Create()) {
        m_pSplash->ShowWindow(SW_SHOWNORMAL);
        fw::BeginThread(HideSplashThread, m_pSplash);
    }
    // The designer's window is built before its own message loop runs, long enough to be seen,
    // and the splash would stay a blank frame meanwhile. Its first paint is handled now; the
    // second pass takes what handling the first pass's messages queued in turn.
    PumpMessages();
    PumpMessages();
    RunDesigner();
}

void AutorunApp::RunDesigner() {
    EnableControlContainer();
    CDesignerDlg designer(nullptr);
    designer.DoModal();
}

DWORD HideSplashAfterDelay(CSplashDlg* splash) {
    ::Sleep(kSplashMillis);
    splash->ShowWindow(SW_HIDE);
    ::Sleep(10);
    return 0;
}

BOOL CALLBACK ActivateRunningDesigner(HWND hwnd, LPARAM) {
    wchar_t title[1000] = {};
    ::GetWindowTextW(hwnd, title, 1000);
    if (fw::WString(title) != fw::Widen(kAppTitle))
        return TRUE;
    ::SetForegroundWindow(hwnd);
    ::ShowWindow(hwnd, SW_SHOWNORMAL);
    return FALSE;
}

} // namespace vk
