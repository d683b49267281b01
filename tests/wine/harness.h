// Drives programs from outside under Wine, the way a user or AutoPlay meets them: a folder of
// the test's own, processes that are always ended, waits on conditions with deadlines, and
// reading and pressing of another process's windows by title, class and control id.
//
// A scenario in a few lines (and one vt_add_wine_test line in CMakeLists.txt):
//   Sandbox box;
//   Process p(box.CopyVintrosk(), "design", box.Dir());
//   HWND dlg = WaitWindow(p, "Vintrosk!", "#32770", 15000);
//   ASSERT_TRUE(dlg) << DescribeWindows(p);
//   EXPECT_EQ("1_Demo_General_Menu.html", ItemText(dlg, 1005));
//   Press(dlg, IDCANCEL);
//   EXPECT_TRUE(p.WaitExit(10000));
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace vt {

// Tests name files and texts in UTF-8; these convert at the system's wide calls.
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);
// A folder with everything in it, files made read-only included; true when it is gone.
bool RemoveTree(const std::string& dir);
// Copies a folder with its subfolders, files overwritten.
void CopyTree(const std::string& from, const std::string& to);
// A file's bytes; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
// Names of the files (not folders) directly in a folder, in UTF-8.
std::set<std::string> FilesIn(const std::string& dir);

// Programs and folders handed in by the build, as Windows paths.
std::string VintroskExe();
std::string RecorderExe();
std::string ShellOpenExe();
std::string OutputDir(); // kept after the run: screenshots and the like; VT_OUTPUT_DIR overrides

// A Unix path as Wine sees it (drive Z: is the Unix root); Windows paths pass unchanged.
std::string WinPath(const std::string& path);

// Seconds on a monotonic clock shared by all processes of the prefix.
double Now();

// Polls every 20 ms until cond holds (true) or timeoutMs has passed (false).
bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs);

// A fresh, empty folder C:\vtests\<Suite>_<Test> for the running test. Left in place
// afterwards so that a failure can be looked at.
class Sandbox {
public:
    Sandbox();
    explicit Sandbox(const std::string& name);

    const std::string& Dir() const { return dir_; }
    std::string Path(const std::string& relative) const;

    // Writes the bytes as given (no newline translation); creates missing folders.
    void Write(const std::string& relative, const std::string& bytes) const;
    std::string Read(const std::string& relative) const;
    bool Exists(const std::string& relative) const;
    // Copies a file into the sandbox under the given relative name; returns its full path.
    std::string Copy(const std::string& from, const std::string& as) const;
    std::string CopyVintrosk(const std::string& as = "Vintrosk.exe") const;
    std::string CopyRecorder(const std::string& as = "recorder.exe") const;

private:
    std::string dir_;
};

// One line of recorded.txt, written by recorder.exe (or a copy of it) when it starts.
struct Record {
    std::string module;      // its own file name, e.g. "Powerpnt.exe"
    std::string commandLine; // GetCommandLineA as it received it
    std::string workDir;     // its working folder
    double startedAt = 0;    // Now() when it ran
};
// The complete lines of a record file; empty when there is none yet.
std::vector<Record> ReadRecords(const std::string& file);
// Waits until the file holds at least `count` complete records.
bool WaitRecords(const std::string& file, size_t count, DWORD timeoutMs);

// A started process; ended (terminated) when the object goes, if it still runs then.
class Process {
public:
    // Runs `"exe" args` with workDir as working folder, inheriting this environment.
    Process(const std::string& exe, const std::string& args, const std::string& workDir);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return pi_.hProcess != nullptr; }
    DWORD Id() const { return pi_.dwProcessId; }
    double StartedAt() const { return startedAt_; }
    // Seconds since the start, to time an event such as a window's appearance.
    double SinceStart() const { return Now() - startedAt_; }
    bool Running() const;
    // Waits for the process to end on its own; true when it has.
    bool WaitExit(DWORD timeoutMs);
    // Seconds from start to the observed end (after WaitExit succeeded), else -1.
    double Lifetime() const { return endedAt_ < 0 ? -1 : endedAt_ - startedAt_; }
    // Terminates the process; returns whether it was still running.
    bool End();
    // Its top-level windows, hidden ones included unless visibleOnly.
    std::vector<HWND> Windows(bool visibleOnly = false) const;
    // Waits up to timeoutMs for the process to end on its own, noting each window that it
    // shows meanwhile (Describe); true when it ended.
    bool WatchUntilExit(DWORD timeoutMs, std::vector<std::string>* shown);

private:
    PROCESS_INFORMATION pi_{};
    double startedAt_ = 0;
    double endedAt_ = -1;
};

// A process that something else started, found by its file name; ended with the object if it
// still runs then.
class Started {
public:
    // Waits up to 20 s for a process of that name to appear.
    explicit Started(const char* exeName);
    ~Started();
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    bool Found() const { return handle_ != nullptr; }
    bool WaitExit(DWORD timeoutMs) const;
    // A visible top-level window of the process for which `match` holds.
    HWND WaitWindow(bool (*match)(HWND), DWORD timeoutMs) const;

private:
    DWORD pid_ = 0;
    HANDLE handle_ = nullptr;
};

// Windows of other processes.
std::string Title(HWND wnd);
std::string ClassOf(HWND wnd);
// "class 'title' style=... visible rect=..." for failure messages and logs.
std::string Describe(HWND wnd);
std::string DescribeWindows(const Process& process);
// A popup without caption, like a splash screen.
bool IsCaptionlessPopup(HWND wnd);

// A visible top-level window of the process; a null title or class matches any.
HWND FindWindowOf(const Process& process, const char* title, const char* cls);
HWND WaitWindow(const Process& process, const char* title, const char* cls, DWORD timeoutMs);
// A visible message box of the process: a dialog holding the message box text control.
HWND WaitMessageBox(const Process& process, DWORD timeoutMs);
std::string MessageBoxText(HWND box);
bool WaitGone(HWND wnd, DWORD timeoutMs);

// Controls by id. Texts and check states are asked for with a timeout, so a busy or
// hung program fails the test instead of stalling it.
std::string ItemText(HWND dlg, int id);
int ItemCheck(HWND dlg, int id); // BST_..., or -1 when there is no answer
bool ItemEnabled(HWND dlg, int id);
RECT RectOf(HWND wnd);
// Presses a button as a click would: WM_COMMAND/BN_CLICKED posted to its dialog. Works for
// message box answers (IDOK, IDCANCEL, ...) too.
void Press(HWND dlg, int id);

bool WaitFile(const std::string& path, DWORD timeoutMs);

// Presses `button` of dlg, waits for the open-file dialog titled `title` and answers it with a
// name typed as a user would (a full path, or a name in the dialog's starting folder), or
// cancels it when typed is null. Waits for the dialog to go.
void PickFile(const Process& process, HWND dlg, int button, const char* title, const char* typed);

// Registers `exe` as the program the shell finds for the bare name `name`
// (HKLM\...\App Paths\<name>); removed again when the object goes.
class AppPath {
public:
    AppPath(const std::string& name, const std::string& exe);
    ~AppPath();
    AppPath(const AppPath&) = delete;
    AppPath& operator=(const AppPath&) = delete;

private:
    std::string key_;
};

// Points one of the user's shell folders (HKCU ...\Explorer\User Shell Folders, e.g. "Desktop")
// at another path, in UTF-8, while the object lives; programs started meanwhile use it.
class UserShellFolder {
public:
    UserShellFolder(const std::string& name, const std::string& path);
    ~UserShellFolder();
    UserShellFolder(const UserShellFolder&) = delete;
    UserShellFolder& operator=(const UserShellFolder&) = delete;

private:
    std::wstring name_;
    HKEY key_ = nullptr;
    DWORD type_ = REG_EXPAND_SZ;
    std::vector<BYTE> old_;
    bool hadOld_ = false;
};

// In this process: the text of tool 1 of the tooltip that serves `control`, or "<no tool>".
std::string ToolText(HWND control);

// Small fixtures.
std::string MakeBmp(int width, int height); // 24-bit, a colour gradient
std::string MakeWav(double seconds);        // 16-bit mono PCM tone
// A JPEG (the system's encoder) of a picture whose parts can be told apart once scaled: a red
// block in the top-left tenth, a blue one in the bottom-right tenth, one-pixel black and white
// stripes in the middle fifth (grey when averaged, black or white when pixels are dropped) and
// flat grey elsewhere. Empty when the system cannot encode it.
std::string MakeJpeg(int width, int height);
COLORREF JpegColourAt(double fx, double fy); // the colour at a fraction of its size, stripes as grey

// Saves the whole screen as OutputDir()\<Suite>_<Test>_<tag>.bmp; returns the path, or ""
// when the screen could not be read.
std::string Screenshot(const std::string& tag);

} // namespace vt
