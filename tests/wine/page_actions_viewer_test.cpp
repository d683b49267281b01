// Action links as the launcher's viewer meets them: the page on the disc is opened by a real
// autorun.exe, and its navigation runs the action instead of showing anything.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "copy_wait.h"
#include "harness.h"

using namespace vt;

namespace {

constexpr DWORD kWait = 15000;

struct Disc {
    Sandbox box;
    Disc() {
        box.CopyVintrosk("autorun.exe");
        box.Write("page.htm", "<html><body>menu</body></html>");
    }
};

// After its action the page stays in the viewer; closing the viewer ends the launcher.
void CloseViewer(Process& launcher) {
    HWND viewer = WaitWindow(launcher, nullptr, "#32770", kWait);
    ASSERT_TRUE(viewer) << DescribeWindows(launcher);
    Press(viewer, IDCANCEL);
    EXPECT_TRUE(launcher.WaitExit(kWait));
}

TEST(PageActionsInViewer, TargetNamedForAnActionIsNeverShown) {
    Disc disc;
    disc.box.Write("action_quit.htm", "<html><body>never seen</body></html>");
    Process launcher(disc.box.Path("autorun.exe"), "action_quit.htm 1 0", disc.box.Dir());
    bool sawViewer = false;
    EXPECT_TRUE(WaitUntil(
        [&] {
            sawViewer |= FindWindowOf(launcher, nullptr, "#32770") != nullptr;
            return !launcher.Running();
        },
        kWait));
    EXPECT_FALSE(sawViewer);
}

TEST(PageActionsInViewer, MessageBoxOnTheFirstNavigation) {
    Disc disc;
    Process launcher(disc.box.Path("autorun.exe"), "page.htm#ACTION_MESSAGEBOX=Welcome=aboard 1 0", disc.box.Dir());
    HWND box = WaitMessageBox(launcher, kWait);
    ASSERT_TRUE(box) << DescribeWindows(launcher);
    EXPECT_EQ(MessageBoxText(box), "Welcome=aboard");
    // The page's first navigation comes before the label or any page title is known.
    EXPECT_EQ(Title(box), "");
    Press(box, IDOK);
    ASSERT_TRUE(WaitGone(box, kWait));
    CloseViewer(launcher);
}

TEST(PageActionsInViewer, RunFindsTheProgramOnTheDisc) {
    Disc disc;
    disc.box.CopyRecorder("setup.exe");
    Process launcher(disc.box.Path("autorun.exe"), "page.htm?ACTION_RUN=setup.exe 1 0", disc.box.Dir());
    ASSERT_TRUE(WaitRecords(disc.box.Path("recorded.txt"), 1, kWait));
    Record r = ReadRecords(disc.box.Path("recorded.txt"))[0];
    EXPECT_EQ(r.module, "setup.exe");
    EXPECT_STRCASEEQ(r.workDir.c_str(), disc.box.Dir().c_str());
    CloseViewer(launcher);
}

TEST(PageActionsInViewer, BrowseOpensTheRootOfTheProgramsDrive) {
    Disc disc;
    // A stand-in beside the program is found before the system's own explorer.
    disc.box.CopyRecorder("explorer.exe");
    Process launcher(disc.box.Path("autorun.exe"), "page.htm?ACTION_BROWSE=ignored 1 0", disc.box.Dir());
    ASSERT_TRUE(WaitRecords(disc.box.Path("recorded.txt"), 1, kWait));
    Record r = ReadRecords(disc.box.Path("recorded.txt"))[0];
    EXPECT_EQ(r.module, "explorer.exe");
    const std::string root = disc.box.Dir().substr(0, 1) + ":\\";
    EXPECT_EQ(r.commandLine.substr(r.commandLine.size() - root.size()), root) << r.commandLine;
    CloseViewer(launcher);
}

TEST(PageActionsInViewer, CopyToTheDesktopBeforeTheTitleIsKnown) {
    Disc disc;
    disc.box.Write("readme.txt", "from the disc");
    char desktop[MAX_PATH + 1] = {};
    SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOP, FALSE);
    const std::string folder = std::string(desktop) + "\\vt_DiscFiles";
    DeleteFileA((folder + "\\readme.txt").c_str());
    RemoveDirectoryA(folder.c_str());

    Process launcher(disc.box.Path("autorun.exe"),
                     "page.htm?ACTION_COPY=readme.txt,{desktop}\\vt_DiscFiles\\readme.txt 1 0", disc.box.Dir());
    HWND box = WaitMessageBox(launcher, kWait);
    ASSERT_TRUE(box) << DescribeWindows(launcher);
    EXPECT_EQ(MessageBoxText(box), "All files have been copied.");
    EXPECT_EQ(Title(box), "CD-ROM Application");
    Press(box, IDOK);
    ASSERT_TRUE(WaitGone(box, kWait));
    EXPECT_TRUE(WaitFile(folder + "\\readme.txt", 1000));
    CloseViewer(launcher);
    DeleteFileA((folder + "\\readme.txt").c_str());
    RemoveDirectoryA(folder.c_str());
}

// A misspelt placeholder would put the copies beside the disc's files and call that a success.
TEST(PageActionsInViewer, CopyToAnUnknownPlaceholderCopiesNothing) {
    Disc disc;
    disc.box.Write("readme.txt", "from the disc");
    const std::string desktop = disc.box.Path("Desktop");
    disc.box.Write("Desktop\\keep.txt", "");
    UserShellFolder folder("Desktop", desktop);
    Process launcher(disc.box.Path("autorun.exe"),
                     "page.htm?ACTION_COPY=readme.txt,{desktop}\\DiscFiles\\readme.txt,"
                     "readme.txt,{Desktp}\\readme.txt 1 0",
                     disc.box.Dir());
    HWND box = WaitMessageBox(launcher, kWait);
    ASSERT_TRUE(box) << DescribeWindows(launcher);
    EXPECT_EQ(MessageBoxText(box),
              "Nothing has been copied: the destination {Desktp}\\readme.txt names the folder {Desktp}, which is "
              "unknown. The folders a copy can name are {root}, {windows}, {system}, {desktop} and {programfiles}.");
    EXPECT_EQ(Title(box), "CD-ROM Application");
    Screenshot("unknown_placeholder");
    Press(box, IDOK);
    ASSERT_TRUE(WaitGone(box, kWait));
    EXPECT_FALSE(WaitMessageBox(launcher, 1000)) << "no second message";
    EXPECT_FALSE(disc.box.Exists("Desktp"));
    EXPECT_FALSE(disc.box.Exists("Desktop\\DiscFiles"));
    CloseViewer(launcher);
}

// A desktop in a profile whose user name is not in the code page: the copy lands there.
TEST(PageActionsInViewer, CopyToADesktopWithAGreekUserName) {
    Disc disc;
    disc.box.Write("readme.txt", "from the disc");
    const std::string desktop = disc.box.Path("Ελένη\\Desktop");
    disc.box.Write("Ελένη\\Desktop\\keep.txt", ""); // the folder exists, as a real desktop does
    UserShellFolder folder("Desktop", desktop);
    Process launcher(disc.box.Path("autorun.exe"),
                     "page.htm?ACTION_COPY=readme.txt,{desktop}\\DiscFiles\\readme.txt 1 0", disc.box.Dir());
    HWND box = WaitMessageBox(launcher, kWait);
    ASSERT_TRUE(box) << DescribeWindows(launcher);
    EXPECT_EQ(MessageBoxText(box), "All files have been copied.");
    Press(box, IDOK);
    ASSERT_TRUE(WaitGone(box, kWait));
    EXPECT_EQ("from the disc", disc.box.Read("Ελένη\\Desktop\\DiscFiles\\readme.txt"));
    CloseViewer(launcher);
}

// Long paths are shortened in the middle, so the window shows where each file comes from and
// where it goes.
TEST(PageActionsInViewer, CopyWaitWindowShowsBothEndsOfLongPaths) { ExpectLongCopyShownWhole("copy_wait"); }

} // namespace
