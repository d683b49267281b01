#include "launcher/autoplay_win.h"

#include <shellapi.h>

#include "launcher/autoplay.h"
#include "core/win/code_page_win.h"
#include "core/win/launch_config_win.h"
#include "core/win/module_path.h"
#include "core/paths.h"
#include "launcher/startup.h"
#include "controls/shell_open_win.h"
#include "controls/splash_dlg.h"
#include "framework/handles.h"
#include "framework/on_demand.h"
#include "framework/wide.h"
#include "launcher/open_viewer.h"

namespace vk {
namespace {

void StartSound(const std::string& path) {
    AutorunApp& app = App();
    app.m_pSoundJob = new SoundJob(path);
    if (!fw::BeginThread(PlaySoundThread, app.m_pSoundJob))
        app.m_pSoundJob->done = true;
}

void ShowSplash(const std::string& imagePath) {
    AutorunApp& app = App();
    app.EnableControlContainer();
    app.m_pSplash = new CSplashDlg(nullptr);
    app.m_pSplash->m_strImagePath = imagePath;
    if (app.m_pSplash->Create()) {
        app.m_pSplash->ShowWindow(SW_SHOWNORMAL);
        // No message is handled while the main thread waits, so paint the picture now.
        app.m_pSplash->UpdateWindow();
    }
    HideSplashAfterDelay(app.m_pSplash);
    PumpMessages();
    PumpMessages();
}

bool SameFile(const std::string& a, const std::string& b) {
    auto identify = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        HANDLE file = ::CreateFileW(fw::Widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        const fw::FileHandle owned(file);
        return owned && ::GetFileInformationByHandle(file, &info) != FALSE;
    };
    BY_HANDLE_FILE_INFORMATION x{}, y{};
    if (identify(a, x) && identify(b, y))
        return x.dwVolumeSerialNumber == y.dwVolumeSerialNumber && x.nFileIndexHigh == y.nFileIndexHigh &&
               x.nFileIndexLow == y.nFileIndexLow;
    wchar_t full[MAX_PATH] = {};
    const DWORD length = ::GetFullPathNameW(fw::Widen(a).c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH && SamePath(fw::Narrow(full, length), b);
}

// Short names, other letter cases and relative spellings all count: the file itself decides.
bool NamesThisProgram(const std::string& target) {
    const std::string self = ModulePath();
    for (const std::string& name : ShellCandidates(target))
        if (SameFile(name, self))
            return true;
    return false;
}

// The mark of this disc's viewer: the launcher's folder as the system spells it in full, in
// one letter case, so that every spelling of one disc gives one mark.
fw::WString ViewerMark() {
    fw::WString folder = fw::Widen(ModuleFolder());
    wchar_t full[MAX_PATH] = {};
    const DWORD length = ::GetLongPathNameW(folder.c_str(), full, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        folder.assign(full, length);
    if (!folder.empty())
        ::CharUpperBuffW(&folder[0], static_cast<DWORD>(folder.size()));
    return fw::Widen(DiscViewerMark(fw::Narrow(folder)));
}

BOOL CALLBACK BringMarkedWindowForward(HWND hwnd, LPARAM mark) {
    if (!::GetPropW(hwnd, reinterpret_cast<const wchar_t*>(mark)))
        return TRUE;
    if (::IsIconic(hwnd))
        ::ShowWindow(hwnd, SW_RESTORE);
    // A message the viewer shows (a copy's result, say) comes forward with it.
    ::SetForegroundWindow(::GetLastActivePopup(hwnd));
    return FALSE;
}

// One viewer per disc. The first launcher of a disc holds the mark's mutex while its viewer
// shows; a second finds it there, brings that viewer forward and gives way. Until the first
// one's viewer appears (its splash may be showing) it keeps looking, a while; should the first
// one end meanwhile, the disc is this launcher's. Null when another launcher has the disc.
const DWORD kViewerWaitMillis = 5000;
HANDLE ClaimDiscViewer(const fw::WString& mark) {
    for (DWORD waited = 0;; waited += 100) {
        HANDLE mutex = ::CreateMutexW(nullptr, TRUE, mark.c_str());
        // A mutex that cannot be made at all leaves the launcher as it was, without the rule.
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return mutex ? mutex : INVALID_HANDLE_VALUE;
        ::CloseHandle(mutex);
        if (!::EnumWindows(BringMarkedWindowForward, reinterpret_cast<LPARAM>(mark.c_str())) ||
            waited >= kViewerWaitMillis)
            return nullptr;
        ::Sleep(100);
    }
}

} // namespace

void RunAutoplay(const LaunchConfig& config) {
    const AutoplayPlan plan = PlanAutoplay(config);
    const fw::WString mark = plan.open == OpenWith::Viewer ? ViewerMark() : fw::WString();
    // The second launcher of a disc ends before its sound and splash: the disc is already open.
    HANDLE viewerMutex = plan.open == OpenWith::Viewer ? ClaimDiscViewer(mark) : nullptr;
    if (plan.open == OpenWith::Viewer && !viewerMutex)
        return;
    if (!plan.soundPath.empty())
        StartSound(plan.soundPath);
    if (!plan.splashPath.empty())
        ShowSplash(plan.splashPath);

    if (plan.open == OpenWith::Viewer) {
        App().EnableControlContainer();
        OpenInViewer(ModuleFolder() + "\\" + plan.viewerFile, ReadIconEntry(), plan.windowSize, plan.viewerKind, mark);
        // Closed, the viewer leaves the disc to the next launcher, though this one may still
        // wait for its sound.
        if (viewerMutex != INVALID_HANDLE_VALUE)
            ::CloseHandle(viewerMutex);
    } else if (plan.open == OpenWith::Shell && NamesThisProgram(plan.shellFile)) {
        ::MessageBoxW(nullptr, fw::Widen(OwnProgramMessage(plan.shellFile)).c_str(), fw::Widen(kAppTitle).c_str(),
                      MB_OK | MB_ICONINFORMATION);
    } else if (plan.open == OpenWith::Shell) {
        const int result = static_cast<int>(
            reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, nullptr, fw::Widen(plan.shellFile).c_str(),
                                                      fw::Widen(plan.shellParams).c_str(), L"", SW_SHOWNORMAL)));
        // Otherwise the disc would end after its splash with nothing shown. No window of the
        // launcher is on screen now, so the message has no owner.
        if (result <= 32)
            ShowOpenError(ShellFailureMessage(config.target, plan, result), nullptr);
    }

    SoundJob* job = App().m_pSoundJob;
    while (job && !job->done) {
        PumpMessages();
        ::Sleep(10);
    }
}

DWORD WINAPI PlaySoundThread(void* param) {
    SoundJob* job = static_cast<SoundJob*>(param);
    const std::string open = "open waveaudio!" + job->path + " alias mysound wait";
    if (fw::SendMciCommand(fw::Widen(open).c_str()) != 0) {
        job->done = true;
        return 1;
    }
    fw::SendMciCommand(L"play mysound from 0 wait");
    fw::SendMciCommand(L"close mysound wait");
    job->done = true;
    return 0;
}

} // namespace vk
