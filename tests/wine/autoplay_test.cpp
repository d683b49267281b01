// The launcher as AutoPlay starts it: what it hands to the shell and in which folder, what a
// splash and a start-up sound do to its lifetime, and that "none" opens nothing. The program
// lies in a folder of its own below the working folder, so that a file looked up beside the
// program instead of in the working folder shows.
#include <gtest/gtest.h>

#include <tlhelp32.h>

#include "harness.h"

using namespace vt;

namespace {

const DWORD kEndMs = 15000;  // for the launcher to end on its own

class Launcher : public ::testing::Test {
 protected:
  void SetUp() override { exe_ = box_.CopyVintrosk("bin\\autorun.exe"); }

  // Runs the launcher with these arguments until it ends on its own; returns its lifetime.
  double Launch(const std::string& args, std::vector<std::string>* shown = nullptr) {
    Process p(exe_, args, box_.Dir());
    EXPECT_TRUE(p.WatchUntilExit(kEndMs, shown)) << "still running with " << args << "\n"
                                                 << DescribeWindows(p);
    printf("[observed] '%s' ran %.2f s\n", args.c_str(), p.Lifetime());
    return p.Lifetime();
  }

  Sandbox box_;
  std::string exe_;
};

}  // namespace

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
          if (IsCaptionlessPopup(w)) splash = w;
        return splash || !p.Running();
      },
      kEndMs) && splash)
      << DescribeWindows(p);
  if (splash) Screenshot("splash");
  ASSERT_TRUE(p.WaitExit(kEndMs)) << DescribeWindows(p);
  printf("[observed] 'none 0 0 splash.bmp' ran %.2f s\n", p.Lifetime());
  EXPECT_GE(p.Lifetime(), 2.0);
  EXPECT_LT(p.Lifetime() - plain, 3.5);  // one splash, not two
}

// Wine's null sound device plays faster than real time (about 3-4x), so a 10 s tone keeps
// the launcher alive seconds longer than a run without sound. A sound that cannot be opened
// costs only the loading of the sound drivers, which on a busy machine takes up to a second
// or so, never as long as playing.
TEST_F(Launcher, WaitsForTheStartupSoundToFinish) {
  box_.Write("tone.wav", MakeWav(10.0));
  const double plain = Launch("none 0 0");
  const double tone = Launch("none 0 0 tone.wav") - plain;
  const double toneAt5 = Launch("none 0 0 notes.txt tone.wav") - plain;  // value 4: no picture, no sound
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
    if (_stricmp(entry.szExeFile, exe) == 0) ++count;
  CloseHandle(snapshot);
  return count;
}

}  // namespace

// A disc whose autorun.inf names the launcher itself as the file to open: the shell would start
// another launcher, which would do the same, without end. It says so instead.
TEST(LauncherOnItsOwnDisc, NeverStartsItselfAgain) {
  for (const char* target : {"AutoRun.EXE", "autorun", ".\\AUTORUN.exe"}) {
    SCOPED_TRACE(target);
    Sandbox box(std::string("OwnDisc_") + (target[0] == '.' ? "dot" : target));
    const std::string exe = box.CopyVintrosk("autorun.exe");
    box.Write("autorun.inf", std::string("[autorun]\r\nOPEN=autorun.exe ") + target + " 0 0\r\nICON=autorun.exe\r\n");
    // Started with no arguments, as a double-click on the disc's program does.
    Process p(exe, "", box.Dir());
    HWND box_ = WaitMessageBox(p, kEndMs);
    ASSERT_TRUE(box_) << DescribeWindows(p);
    EXPECT_EQ("Vintrosk!", Title(box_));
    EXPECT_EQ(std::string("This CD-ROM is set to open ") + target +
                  ", which is its own start-up program, so there is nothing to open.\n\nThe CD-ROM's autorun.inf "
                  "must name another file to open.",
              MessageBoxText(box_));
    Sleep(1000);  // time enough for a second launcher to show up, were one started
    EXPECT_EQ(1, CountProcesses("autorun.exe"));
    Press(box_, IDOK);
    EXPECT_TRUE(p.WaitExit(kEndMs));
    EXPECT_EQ(0, CountProcesses("autorun.exe"));
  }
}

// A disc whose autorun.inf is in UTF-16 because its target's name is Greek: the launcher,
// started with no arguments, reads it and hands the target to the shell.
TEST(LauncherOnAUnicodeDisc, OpensATargetWithAGreekName) {
  Sandbox box;
  const std::string exe = box.CopyVintrosk("autorun.exe");
  box.CopyRecorder("Πρόγραμμα.exe");
  const std::wstring inf = Wide("[autorun]\r\nOPEN=autorun.exe Πρόγραμμα.exe 0 0\r\nICON=autorun.exe\r\n");
  box.Write("autorun.inf", std::string("\xFF\xFE") + std::string(reinterpret_cast<const char*>(inf.data()),
                                                                  inf.size() * sizeof(wchar_t)));
  Process p(exe, "", box.Dir());
  EXPECT_TRUE(WaitRecords(box.Path("recorded.txt"), 1, kEndMs)) << DescribeWindows(p);
  EXPECT_TRUE(p.WaitExit(kEndMs));
}

