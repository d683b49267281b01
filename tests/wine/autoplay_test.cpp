// The launcher as AutoPlay starts it: what it hands to the shell and in which folder, what a
// splash and a start-up sound do to its lifetime, and that "none" opens nothing. The program
// lies in a folder of its own below the working folder, so that a file looked up beside the
// program instead of in the working folder shows.
#include <gtest/gtest.h>

#include <tlhelp32.h>

#include "harness.h"

using namespace vt;

namespace {

const DWORD kEndMs = 15000; // for the launcher to end on its own

class Launcher : public ::testing::Test {
protected:
    void SetUp() override { exe_ = box_.CopyVintrosk("bin\\autorun.exe"); }

    // Runs the launcher with these arguments until it ends on its own; returns its lifetime.
    double Launch(const std::string& args, std::vector<std::string>* shown = nullptr) {
        Process p(exe_, args, box_.Dir());
        EXPECT_TRUE(p.WatchUntilExit(kEndMs, shown)) << "still running with " << args << "\n" << DescribeWindows(p);
        printf("[observed] '%s' ran %.2f s\n", args.c_str(), p.Lifetime());
        return p.Lifetime();
    }

    Sandbox box_;
    std::string exe_;
};

} // namespace

TEST_F(Launcher, HandsTargetToTheShellInTheWorkingFolder) {
    box_.CopyRecorder();
    std::vector<std::string> shown;
    Launch("recorder.exe 0 0", &shown);
    EXPECT_TRUE(shown.empty()) << shown.front();

    ASSERT_TRUE(WaitRecords(box_.Path("recorded.txt"), 1, kEndMs));
    Record r = ReadRecords(box_.Path("recorded.txt"))[0];
    printf("[observed] the shell started: %s\n", r.commandLine.c_str());
    EXPECT_EQ("recorder.exe", r.module);
    EXPECT_STRCASEEQ(box_.Dir().c_str(), r.workDir.c_str());
}

TEST_F(Launcher, SlideShowRunsPowerpntWithShowSwitchAndTheNameAsGiven) {
    // Reachable only through the registration: neither beside the program nor in the
    // working folder.
    AppPath registration("Powerpnt.exe", box_.CopyRecorder("office\\Powerpnt.exe"));
    Launch("Slides.PPT 1 0");

    ASSERT_TRUE(WaitRecords(box_.Path("office\\recorded.txt"), 1, kEndMs));
    Record r = ReadRecords(box_.Path("office\\recorded.txt"))[0];
    EXPECT_EQ("Powerpnt.exe", r.module);
    const std::string params = " /s Slides.PPT";
    ASSERT_GE(r.commandLine.size(), params.size());
    EXPECT_EQ(params, r.commandLine.substr(r.commandLine.size() - params.size())) << r.commandLine;
    EXPECT_STRCASEEQ(box_.Dir().c_str(), r.workDir.c_str());
}

// Such a start file used to end the launcher after its splash with nothing shown.
TEST_F(Launcher, StartFileTheShellCannotOpenIsReportedByName) {
    box_.Write("notes.vtq", "no program opens this kind");
    box_.Write("splash.bmp", MakeBmp(160, 120));
    const struct {
        const char* args;
        const char* text;
        const char* shot; // screenshot tag, or null
    } cases[] = {
        {"notes.vtq 0 0 splash.bmp",
         "Can't open notes.vtq:\n\nThere is no application associated\nwith the given filename extension.",
         "no_program"},
        {"gone.vtq 0 0", "Can't open gone.vtq:\n\nThe specified file was not found.", nullptr},
        // No PowerPoint registered here.
        {"Slides.PPT 0 0", "Can't open Slides.PPT with Powerpnt.exe:\n\nThe specified file was not found.",
         "no_powerpoint"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        Process p(exe_, c.args, box_.Dir());
        HWND box = WaitMessageBox(p, kEndMs);
        ASSERT_TRUE(box) << DescribeWindows(p);
        EXPECT_EQ("Vintrosk!", Title(box));
        EXPECT_EQ(c.text, MessageBoxText(box));
        // The splash is hidden by now; a box it owned would have no button on the taskbar.
        EXPECT_EQ(nullptr, GetWindow(box, GW_OWNER));
        for (HWND w : p.Windows(true))
            EXPECT_FALSE(IsCaptionlessPopup(w)) << Describe(w);
        if (c.shot)
            Screenshot(c.shot);
        Press(box, IDOK);
        EXPECT_TRUE(p.WaitExit(kEndMs)) << DescribeWindows(p);
    }
}

TEST_F(Launcher, NoneOpensNothing) {
    // Were "none" handed to the shell, it would start none.exe.
    box_.CopyRecorder("none.exe");
    std::vector<std::string> shown;
    Launch("none 0 0", &shown);
    EXPECT_TRUE(shown.empty()) << shown.front();
    EXPECT_FALSE(WaitRecords(box_.Path("recorded.txt"), 1, 1000));
}

TEST_F(Launcher, SplashKeepsItAliveForTwoSeconds) {
    box_.Write("splash.bmp", MakeBmp(160, 120));
    const double plain = Launch("none 0 0");
    Process p(exe_, "none 0 0 splash.bmp", box_.Dir());
    HWND splash = nullptr;
    EXPECT_TRUE(WaitUntil(
                    [&] {
                        for (HWND w : p.Windows(true))
                            if (IsCaptionlessPopup(w))
                                splash = w;
                        return splash || !p.Running();
                    },
                    kEndMs) &&
                splash)
        << DescribeWindows(p);
    if (splash)
        Screenshot("splash");
    ASSERT_TRUE(p.WaitExit(kEndMs)) << DescribeWindows(p);
    printf("[observed] 'none 0 0 splash.bmp' ran %.2f s\n", p.Lifetime());
    EXPECT_GE(p.Lifetime(), 2.0);
    EXPECT_LT(p.Lifetime() - plain, 3.5); // one splash, not two
}

// Wine's null sound device plays faster than real time (about 3-4x), so a 10 s tone keeps
// the launcher alive seconds longer than a run without sound. A sound that cannot be opened
// costs only the loading of the sound drivers, which on a busy machine takes up to a second
// or so, never as long as playing.
TEST_F(Launcher, WaitsForTheStartupSoundToFinish) {
    box_.Write("tone.wav", MakeWav(10.0));
    const double plain = Launch("none 0 0");
    const double tone = Launch("none 0 0 tone.wav") - plain;
    const double toneAt5 = Launch("none 0 0 notes.txt tone.wav") - plain; // value 4: no picture, no sound
    const double missing = Launch("none 0 0 missing.wav") - plain;
    EXPECT_GE(tone, 1.0);
    EXPECT_GE(toneAt5, 1.0);
    EXPECT_LT(missing, tone / 2);
}

namespace {

// Processes of the prefix whose file name is `exe`, in any letter case.
int CountProcesses(const char* exe) {
    int count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (_stricmp(entry.szExeFile, exe) == 0)
            ++count;
    CloseHandle(snapshot);
    return count;
}

} // namespace

// A disc whose autorun.inf names the launcher itself as the file to open: the shell would start
// another launcher, which would do the same, without end. It says so instead.
TEST(LauncherOnItsOwnDisc, NeverStartsItselfAgain) {
    for (const char* target : {"AutoRun.EXE", "autorun", ".\\AUTORUN.exe"}) {
        SCOPED_TRACE(target);
        Sandbox box(std::string("OwnDisc_") + (target[0] == '.' ? "dot" : target));
        const std::string exe = box.CopyVintrosk("autorun.exe");
        box.Write("autorun.inf",
                  std::string("[autorun]\r\nOPEN=autorun.exe ") + target + " 0 0\r\nICON=autorun.exe\r\n");
        // Started with no arguments, as a double-click on the disc's program does.
        Process p(exe, "", box.Dir());
        HWND box_ = WaitMessageBox(p, kEndMs);
        ASSERT_TRUE(box_) << DescribeWindows(p);
        EXPECT_EQ("Vintrosk!", Title(box_));
        EXPECT_EQ(std::string("This CD-ROM is set to open ") + target +
                      ", which is its own start-up program, so there is nothing to open.\n\nThe CD-ROM's autorun.inf "
                      "must name another file to open.",
                  MessageBoxText(box_));
        Sleep(1000); // time enough for a second launcher to show up, were one started
        EXPECT_EQ(1, CountProcesses("autorun.exe"));
        Press(box_, IDOK);
        EXPECT_TRUE(p.WaitExit(kEndMs));
        EXPECT_EQ(0, CountProcesses("autorun.exe"));
    }
}

namespace {

// UTF-16LE with its byte-order mark: autorun.inf as the designer writes it for a name outside
// the ANSI code page.
std::string Utf16File(const std::wstring& text) {
    std::string out = "\xFF\xFE";
    for (wchar_t unit : text) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    }
    return out;
}

// Process starts the program through the ANSI code page; a Greek argument needs the wide one.
bool RunWide(const std::wstring& exe, const std::wstring& args, const std::wstring& dir, DWORD timeoutMs) {
    std::wstring commandLine = L"\"" + exe + L"\" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
        return false;
    const bool ended = WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0;
    if (!ended)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return ended;
}

const wchar_t kGreekExe[] = L"\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1.exe"; // Καλημέρα.exe

} // namespace

// A target whose name the ANSI code page cannot hold reaches the shell, whether the launch
// list comes from a Unicode autorun.inf or from the wide command line; a Western name in an
// ANSI autorun.inf still does.
TEST_F(Launcher, StartsATargetNamedInAnyLanguage) {
    struct Case {
        const char* name;
        std::wstring targetFile;
        std::string inf;   // the working folder's autorun.inf, or empty for none
        std::wstring args; // the launcher's command line after its name
    } cases[] = {
        {"Unicode autorun.inf", kGreekExe,
         Utf16File(std::wstring(L"[autorun]\r\nOPEN=autorun.exe ") + kGreekExe + L" 0 0\r\n"), L""},
        {"wide command line", kGreekExe, "", std::wstring(kGreekExe) + L" 0 0"},
        {"ANSI autorun.inf", L"caf\u00E9.exe", "[autorun]\r\nOPEN=autorun.exe caf\xE9.exe 0 0\r\n", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name =
            std::string("AnyLanguage_") + (c.args.empty() ? (c.inf[0] == '\xFF' ? "utf16" : "ansi") : "args");
        const std::wstring target = L"C:\\vtests\\" + Wide(name) + L"\\" + c.targetFile;
        DeleteFileW(target.c_str());
        Sandbox box(name);
        ASSERT_EQ(Wide(box.Dir()) + L"\\" + c.targetFile, target);
        const std::string exe = box.CopyVintrosk("autorun.exe");
        ASSERT_TRUE(CopyFileW(Wide(RecorderExe()).c_str(), target.c_str(), FALSE));
        if (!c.inf.empty())
            box.Write("autorun.inf", c.inf);

        EXPECT_TRUE(RunWide(Wide(exe), c.args, Wide(box.Dir()), kEndMs));
        ASSERT_TRUE(WaitRecords(box.Path("recorded.txt"), 1, kEndMs));
        Record r = ReadRecords(box.Path("recorded.txt"))[0];
        printf("[observed] the shell started %s: %s\n", r.module.c_str(), r.commandLine.c_str());
        EXPECT_STRCASEEQ(box.Dir().c_str(), r.workDir.c_str());
        EXPECT_TRUE(WaitUntil([&] { return DeleteFileW(target.c_str()) != FALSE; }, 5000));
    }
}
