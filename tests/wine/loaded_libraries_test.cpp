// The system libraries the launcher loads on its way. One with no splash and no sound that
// hands its target to the shell loads neither winmm (nor msacm32, which winmm brings along)
// nor oleaut32, imported or loaded later: each one costs start-up time. The sound and the
// splash still get theirs, which also shows that the watch below sees libraries loaded late,
// and so does the designer's Play Sound. The test runs the launcher as its debugger and notes
// every library mapped into it; the designer, which stays open, has its modules listed.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "designer/designer_ids.h"
#include "harness.h"

using namespace vt;

namespace {

const DWORD kEndMs = 20000; // for the launcher to end on its own

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(tolower(c)); });
    return text;
}

// The file name of a library the debuggee loaded: from the path the loader hands over (a
// pointer in the debuggee to a pointer to the name), else from the file handle.
std::string LibraryName(HANDLE process, const LOAD_DLL_DEBUG_INFO& info) {
    std::wstring path;
    void* name = nullptr;
    SIZE_T read = 0;
    if (info.lpImageName && info.fUnicode && ReadProcessMemory(process, info.lpImageName, &name, sizeof name, &read) &&
        read == sizeof name && name) {
        wchar_t text[MAX_PATH + 1] = {};
        // The name may end closer to the end of its page than MAX_PATH: read less then.
        for (SIZE_T size = sizeof text - sizeof(wchar_t); size >= sizeof(wchar_t) && path.empty(); size /= 2)
            if (ReadProcessMemory(process, name, text, size, &read))
                path.assign(text, wcsnlen(text, read / sizeof(wchar_t)));
    }
    if (path.empty() && info.hFile) {
        wchar_t text[MAX_PATH * 2] = {};
        const DWORD length = GetFinalPathNameByHandleW(info.hFile, text, MAX_PATH * 2, 0);
        if (length > 0 && length < MAX_PATH * 2)
            path.assign(text, length);
    }
    const size_t slash = path.find_last_of(L"\\/");
    return Lower(Utf8(slash == std::wstring::npos ? path : path.substr(slash + 1)));
}

struct Outcome {
    std::set<std::string> loaded; // file names, in lower case
    DWORD exitCode = STILL_ACTIVE;
};

// Runs `"exe" args` in dir until it ends, as its debugger.
Outcome RunNotingLibraries(const std::string& exe, const std::string& args, const std::string& dir) {
    Outcome run;
    std::string cmd = "\"" + exe + "\" " + args;
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr, dir.c_str(),
                        &si, &pi)) {
        ADD_FAILURE() << "cannot start " << cmd << " (error " << GetLastError() << ")";
        return run;
    }
    const double deadline = Now() + kEndMs / 1000.0;
    bool ended = false, ending = false;
    while (!ended) {
        DEBUG_EVENT event{};
        if (!WaitForDebugEvent(&event, 500)) {
            if (Now() >= deadline && !ending) {
                ADD_FAILURE() << cmd << " still running";
                ending = TerminateProcess(pi.hProcess, 1); // its exit event follows
            }
            continue;
        }
        DWORD status = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            if (event.u.CreateProcessInfo.hFile)
                CloseHandle(event.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            run.loaded.insert(LibraryName(pi.hProcess, event.u.LoadDll));
            if (event.u.LoadDll.hFile)
                CloseHandle(event.u.LoadDll.hFile);
            break;
        case EXCEPTION_DEBUG_EVENT:
            // The loader's breakpoint for a debugger; anything else is the program's own to handle.
            if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
                status = DBG_EXCEPTION_NOT_HANDLED;
            break;
        case EXIT_PROCESS_DEBUG_EVENT:
            run.exitCode = event.u.ExitProcess.dwExitCode;
            ended = true;
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return run;
}

// The file names of the modules in a running process, in lower case.
std::set<std::string> ModulesOf(const Process& process) {
    std::set<std::string> names;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process.Id());
    if (snapshot == INVALID_HANDLE_VALUE)
        return names;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32FirstW(snapshot, &entry); more; more = Module32NextW(snapshot, &entry))
        names.insert(Lower(Utf8(entry.szModule)));
    CloseHandle(snapshot);
    return names;
}

std::string Listed(const std::set<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += name + " ";
    return text;
}

} // namespace

TEST(LoadedLibraries, PlainHandoverLoadsNoSoundOrAutomationLibrary) {
    Sandbox box;
    box.CopyRecorder();
    const std::string exe = box.CopyVintrosk("autorun.exe");
    const std::set<std::string> loaded = RunNotingLibraries(exe, "recorder.exe 0 0", box.Dir()).loaded;
    printf("[observed] loaded: %s\n", Listed(loaded).c_str());
    EXPECT_TRUE(WaitRecords(box.Path("recorded.txt"), 1, kEndMs)) << "target not handed over";
    // The libraries of the handover itself, seen as any other library is.
    EXPECT_TRUE(loaded.count("shell32.dll")) << Listed(loaded);
    EXPECT_TRUE(loaded.count("ole32.dll")) << Listed(loaded);
    for (const char* late : {"winmm.dll", "msacm32.dll", "oleaut32.dll"})
        EXPECT_FALSE(loaded.count(late)) << late << " loaded: " << Listed(loaded);
}

TEST(LoadedLibraries, SoundAndSplashLoadTheirsWhenTheyStart) {
    Sandbox box;
    box.CopyRecorder();
    box.Write("tone.wav", MakeWav(0.5));
    box.Write("splash.bmp", MakeBmp(160, 120));
    const std::string exe = box.CopyVintrosk("autorun.exe");
    // Which other libraries come along is the system's affair: Wine's sound output loads
    // oleaut32 itself, for one.
    const struct {
        const char* args;
        const char* needs;
    } cases[] = {
        {"recorder.exe 0 0 tone.wav", "winmm.dll"},
        {"recorder.exe 0 0 splash.bmp", "oleaut32.dll"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const std::set<std::string> loaded = RunNotingLibraries(exe, c.args, box.Dir()).loaded;
        printf("[observed] '%s' loaded: %s\n", c.args, Listed(loaded).c_str());
        EXPECT_TRUE(loaded.count(c.needs)) << Listed(loaded);
    }
    EXPECT_TRUE(WaitRecords(box.Path("recorded.txt"), 2, kEndMs)) << "targets not handed over";
}

// The designer loads winmm when Play Sound is pressed, not before.
TEST(LoadedLibraries, DesignerLoadsWinmmForPlaySound) {
    Sandbox box;
    box.Write("sounds\\default.wav", MakeWav(0.5)); // the default sound, beside the program
    Process p(box.CopyVintrosk(), "design", box.Dir());
    HWND dlg = WaitWindow(p, "Vintrosk!", "#32770", kEndMs);
    ASSERT_TRUE(dlg) << DescribeWindows(p);
    const std::set<std::string> before = ModulesOf(p);
    EXPECT_TRUE(before.count("user32.dll")) << Listed(before); // the list is read at all
    EXPECT_FALSE(before.count("winmm.dll")) << Listed(before);
    Press(dlg, IDC_PLAY_SOUND);
    EXPECT_TRUE(WaitUntil([&] { return ModulesOf(p).count("winmm.dll") > 0; }, kEndMs)) << Listed(ModulesOf(p));
    Press(dlg, IDCANCEL);
    EXPECT_TRUE(p.WaitExit(kEndMs)) << DescribeWindows(p);
}

// Tells Wine not to load these libraries into programs of this file name, while it lives.
class DisabledLibraries {
public:
    DisabledLibraries(const std::string& exeName, std::initializer_list<const char*> libraries)
        : key_("Software\\Wine\\AppDefaults\\" + exeName) {
        HKEY overrides = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, (key_ + "\\DllOverrides").c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &overrides, nullptr) != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot write " << key_;
            return;
        }
        for (const char* library : libraries)
            RegSetValueExA(overrides, library, 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
        RegCloseKey(overrides);
    }
    ~DisabledLibraries() { RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str()); }
    DisabledLibraries(const DisabledLibraries&) = delete;
    DisabledLibraries& operator=(const DisabledLibraries&) = delete;

private:
    std::string key_;
};

// Without winmm and oleaut32, the sound stays silent and the splash shows no picture, but the
// launcher still waits out the splash and hands its target over.
TEST(LoadedLibraries, WithoutThemSoundAndSplashFailQuietly) {
    Sandbox box;
    box.CopyRecorder();
    box.Write("tone.wav", MakeWav(0.5));
    box.Write("splash.bmp", MakeBmp(160, 120));
    // A name of its own, so that nothing else run meanwhile goes without them.
    const std::string exe = box.CopyVintrosk("without_libraries.exe");
    DisabledLibraries disabled("without_libraries.exe", {"winmm", "oleaut32"});
    const Outcome run = RunNotingLibraries(exe, "recorder.exe 0 0 splash.bmp tone.wav", box.Dir());
    printf("[observed] loaded: %s, exit code %#lx\n", Listed(run.loaded).c_str(), run.exitCode);
    // Else the test proves nothing.
    EXPECT_FALSE(run.loaded.count("winmm.dll")) << Listed(run.loaded);
    EXPECT_FALSE(run.loaded.count("oleaut32.dll")) << Listed(run.loaded);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(WaitRecords(box.Path("recorded.txt"), 1, kEndMs)) << "target not handed over";
}
