// Start-up as a user meets it: which of information message, designer and launcher a start
// leads to, the designer's single-instance rule, and the designer's start-up splash.
#include <gtest/gtest.h>

#include "designer/designer_ids.h"
#include "harness.h"

using namespace vt;

namespace {

const DWORD kAppearMs = 15000;          // for a started program's window to show
const DWORD kEndMs = 10000;             // for a program to end once nothing holds it
const int kFileField = IDC_TARGET_NAME; // a control only the designer has
const int kQuit = IDCANCEL;

const char kInformation[] = "Vintrosk! creates auto-playable CD-ROMs.\n\nTo run the designer and create your own "
                            "autorun CD-ROMs, please double-click the Vintrosk! desktop icon or re-install the "
                            "software from https://vintrosk.example/";

HWND WaitDesigner(const Process& p) {
    HWND dlg = nullptr;
    WaitUntil(
        [&] {
            dlg = FindWindowOf(p, "Vintrosk!", "#32770");
            return dlg && GetDlgItem(dlg, kFileField);
        },
        kAppearMs);
    return dlg && GetDlgItem(dlg, kFileField) ? dlg : nullptr;
}

// The splash is a dialog without caption; once made it is only hidden, never destroyed.
std::vector<HWND> Splashes(const Process& p) {
    std::vector<HWND> found;
    for (HWND w : p.Windows())
        if (ClassOf(w) == "#32770" && IsCaptionlessPopup(w))
            found.push_back(w);
    return found;
}

} // namespace

// Without arguments the launch list comes from autorun.inf in the working folder, and from
// nowhere else: one beside the program does not count.
struct NoListCase {
    const char* name;
    const char* exeAs;        // where the program lies, relative to the working folder
    const char* autorunInfAt; // where an autorun.inf with a full list lies, or null
};

class NoLaunchList : public ::testing::TestWithParam<NoListCase> {};

TEST_P(NoLaunchList, ShowsInformationAndEndsWhenItIsClosed) {
    Sandbox box;
    if (GetParam().autorunInfAt)
        box.Write(GetParam().autorunInfAt, "[autorun]\r\nOPEN=autorun.exe none 0 0\r\n");
    Process p(box.CopyVintrosk(GetParam().exeAs), "", box.Dir());

    HWND info = WaitMessageBox(p, kAppearMs);
    ASSERT_TRUE(info) << DescribeWindows(p);
    EXPECT_EQ("Vintrosk!", Title(info));
    EXPECT_EQ(kInformation, MessageBoxText(info));
    EXPECT_TRUE(GetDlgItem(info, IDOK));
    Screenshot("information");
    EXPECT_TRUE(p.Running());

    Press(info, IDOK);
    EXPECT_TRUE(p.WaitExit(kEndMs)) << DescribeWindows(p);
}

INSTANTIATE_TEST_SUITE_P(Startup, NoLaunchList,
                         ::testing::Values(NoListCase{"EmptyFolder", "Vintrosk.exe", nullptr},
                                           NoListCase{"AutorunInfOnlyBesideProgram", "disc\\autorun.exe",
                                                      "disc\\autorun.inf"}),
                         [](const ::testing::TestParamInfo<NoListCase>& info) { return std::string(info.param.name); });

TEST(Startup, EmptyListInAutorunInfOpensDesignerWithoutSplashOrSingleInstanceCheck) {
    Sandbox box;
    box.Write("autorun.inf", "[autorun]\r\nOPEN=autorun.exe\r\n");
    std::string exe = box.CopyVintrosk("autorun.exe");

    Process first(exe, "", box.Dir());
    HWND firstDesigner = WaitDesigner(first);
    ASSERT_TRUE(firstDesigner) << DescribeWindows(first);
    Process second(exe, "", box.Dir());
    HWND secondDesigner = WaitDesigner(second);
    ASSERT_TRUE(secondDesigner) << DescribeWindows(second);
    Screenshot("two_designers");

    EXPECT_TRUE(Splashes(first).empty()) << DescribeWindows(first);
    EXPECT_TRUE(Splashes(second).empty()) << DescribeWindows(second);
    EXPECT_TRUE(first.Running());

    Press(firstDesigner, kQuit);
    Press(secondDesigner, kQuit);
    EXPECT_TRUE(first.WaitExit(kEndMs)) << DescribeWindows(first);
    EXPECT_TRUE(second.WaitExit(kEndMs)) << DescribeWindows(second);
}

TEST(Startup, DesignShowsSplashThenDesigner) {
    Sandbox box;
    Process p(box.CopyVintrosk(), "design", box.Dir());

    HWND splash = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND w : Splashes(p))
                if (IsWindowVisible(w))
                    splash = w;
            return splash != nullptr;
        },
        kAppearMs))
        << DescribeWindows(p);
    HWND designer = WaitDesigner(p);
    ASSERT_TRUE(designer) << DescribeWindows(p);
    Screenshot("splash_and_designer");

    // The splash goes on its own about two seconds after it appeared; the designer stays.
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(splash); }, 5000)) << Describe(splash);
    EXPECT_TRUE(IsWindowVisible(designer));

    Press(designer, kQuit);
    EXPECT_TRUE(p.WaitExit(kEndMs)) << DescribeWindows(p);
}

TEST(Startup, SecondDesignerRestoresTheFirstAndEndsWithoutShowingAnything) {
    Sandbox box;
    std::string exe = box.CopyVintrosk();
    Process first(exe, "design", box.Dir());
    HWND designer = WaitDesigner(first);
    ASSERT_TRUE(designer) << DescribeWindows(first);
    ShowWindow(designer, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(designer); }, 5000));

    Process second(exe, "design", box.Dir());
    std::vector<std::string> shown;
    EXPECT_TRUE(second.WatchUntilExit(kEndMs, &shown)) << DescribeWindows(second);
    EXPECT_TRUE(shown.empty()) << shown.front();
    printf("[observed] second designer ended after %.2f s\n", second.Lifetime());

    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(designer); }, 5000)) << Describe(designer);
    EXPECT_TRUE(IsWindowVisible(designer));
    EXPECT_TRUE(first.Running());
    Press(designer, kQuit);
    EXPECT_TRUE(first.WaitExit(kEndMs)) << DescribeWindows(first);
}

// "design" selects the designer only in exactly that spelling; other spellings are launcher
// targets that go to the shell. A recorder named after the word stands in for the target.
class OtherSpellingOfDesign : public ::testing::TestWithParam<const char*> {};

TEST_P(OtherSpellingOfDesign, IsALauncherTarget) {
    const std::string word = GetParam();
    Sandbox box;
    std::string exe = box.CopyVintrosk();
    box.CopyRecorder(word + ".exe");

    Process p(exe, word, box.Dir());
    std::vector<std::string> shown;
    EXPECT_TRUE(p.WatchUntilExit(kEndMs, &shown)) << DescribeWindows(p);
    for (const std::string& w : shown)
        EXPECT_EQ(std::string::npos, w.find("'Vintrosk!'")) << w;

    ASSERT_TRUE(WaitRecords(box.Path("recorded.txt"), 1, kEndMs));
    EXPECT_STRCASEEQ((word + ".exe").c_str(), ReadRecords(box.Path("recorded.txt"))[0].module.c_str());
}

// Named by index: the file system does not tell Design from DESIGN.
INSTANTIATE_TEST_SUITE_P(Startup, OtherSpellingOfDesign, ::testing::Values("Design", "DESIGN"));
