#include <gtest/gtest.h>

#include "launcher/autoplay.h"
#include "memory_files.h"

namespace {

vk::LaunchConfig Config(std::vector<std::string> values) {
    MemoryFiles none;
    return vk::ReadLaunchConfig(values, none);
}

TEST(ChooseStartupPath, ByConfiguration) {
    MemoryFiles empty;
    EXPECT_EQ(vk::ChooseStartupPath(vk::ReadLaunchConfig({}, empty)), vk::StartupPath::NoConfig);
    MemoryFiles bare;
    bare.files["autorun.inf"] = "[autorun]\r\nOPEN=autorun.exe\r\n";
    EXPECT_EQ(vk::ChooseStartupPath(vk::ReadLaunchConfig({}, bare)), vk::StartupPath::DesignerNoCheck);
    struct Case {
        std::vector<std::string> args;
        vk::StartupPath path;
    } cases[] = {
        {{"design"}, vk::StartupPath::Designer},  {{"design", "1", "0", "x.jpg"}, vk::StartupPath::Designer},
        {{"Design"}, vk::StartupPath::Launcher},  {{"DESIGN"}, vk::StartupPath::Launcher},
        {{"design "}, vk::StartupPath::Launcher}, {{"index.htm", "design"}, vk::StartupPath::Launcher},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vk::ChooseStartupPath(Config(c.args)), c.path) << c.args[0];
}

TEST(PlanAutoplay, SoundSplashAndTarget) {
    using vk::OpenWith;
    using vk::ViewerKind;
    struct Case {
        std::vector<std::string> values;
        std::string sound;
        std::string splash;
        OpenWith open;
        std::string file; // viewer file or shell file
        std::string params;
        int windowSize;
        ViewerKind kind;
    } cases[] = {
        {{"index.htm", "1", "0", "logo.jpg", "intro.wav"},
         "intro.wav",
         "logo.jpg",
         OpenWith::Viewer,
         "index.htm",
         "",
         0,
         ViewerKind::Page},
        {{"none", "0", "0", "intro.wav"}, "intro.wav", "", OpenWith::Nothing, "", "", 0, ViewerKind::Page},
        {{"none", "0", "0", "logo.jpg"}, "", "logo.jpg", OpenWith::Nothing, "", "", 0, ViewerKind::Page},
        {{"movie.avi", "0", "0"}, "", "", OpenWith::Shell, "movie.avi", "", 0, ViewerKind::Page},
        {{"movie.avi", "1", "3"}, "", "", OpenWith::Viewer, "movie.avi", "", 3, ViewerKind::Movie},
        {{"clip.WMV", "1", "1"}, "", "", OpenWith::Viewer, "clip.WMV", "", 1, ViewerKind::Movie},
        {{"film.mpeg", "1", "2"}, "", "", OpenWith::Viewer, "film.mpeg", "", 2, ViewerKind::Movie},
        {{"INDEX.HTM", "1", "0"}, "", "", OpenWith::Viewer, "INDEX.HTM", "", 0, ViewerKind::Page},
        {{"INDEX.HTM", "0", "0"}, "", "", OpenWith::Shell, "INDEX.HTM", "", 0, ViewerKind::Page},
        {{"page.html", "01", "0"}, "", "", OpenWith::Shell, "page.html", "", 0, ViewerKind::Page},
        {{"page.html", "1", "abc"}, "", "", OpenWith::Viewer, "page.html", "", 0, ViewerKind::Page},
        {{"page.html", "1", "7"}, "", "", OpenWith::Viewer, "page.html", "", 7, ViewerKind::Page},
        {{"page.html", "1"}, "", "", OpenWith::Viewer, "page.html", "", 0, ViewerKind::Page},
        {{"slides.ppt", "0", "0"}, "", "", OpenWith::Shell, "Powerpnt.exe", "/s slides.ppt", 0, ViewerKind::Page},
        {{"Slides.PPT", "1", "0"}, "", "", OpenWith::Shell, "Powerpnt.exe", "/s Slides.PPT", 0, ViewerKind::Page},
        {{"\\", "0", "0"}, "", "", OpenWith::Shell, "\\", "", 0, ViewerKind::Page},
        {{"Design"}, "", "", OpenWith::Shell, "Design", "", 0, ViewerKind::Page},
        {{"none", "0", "0", "logo.jpeg"}, "", "", OpenWith::Nothing, "", "", 0, ViewerKind::Page},
        {{"none", "0", "0", "LOGO.JPG", "Intro.WAV"},
         "intro.wav",
         "logo.jpg",
         OpenWith::Nothing,
         "",
         "",
         0,
         ViewerKind::Page},
        {{"none", "0", "0", "pic.gif.txt"}, "", "pic.gif.txt", OpenWith::Nothing, "", "", 0, ViewerKind::Page},
        {{"none", "0", "0", "back.bmp"}, "", "back.bmp", OpenWith::Nothing, "", "", 0, ViewerKind::Page},
        {{"none", "0", "0", "logo.jpg", "notes.txt"}, "", "logo.jpg", OpenWith::Nothing, "", "", 0, ViewerKind::Page},
        {{"none", "0", "0", "intro.wav", "readme.txt"},
         "intro.wav",
         "",
         OpenWith::Nothing,
         "",
         "",
         0,
         ViewerKind::Page},
        {{"none", "0", "0", "readme.txt", "outro.wav"},
         "outro.wav",
         "",
         OpenWith::Nothing,
         "",
         "",
         0,
         ViewerKind::Page},
        {{"none", "0", "0", "first.wav", "second.wav"},
         "second.wav",
         "",
         OpenWith::Nothing,
         "",
         "",
         0,
         ViewerKind::Page},
        {{"none", "0", "intro.wav"}, "", "", OpenWith::Nothing, "", "", 0, ViewerKind::Page},
        {{"NONE", "0", "0"}, "", "", OpenWith::Shell, "NONE", "", 0, ViewerKind::Page},
    };
    for (const Case& c : cases) {
        const std::string name = c.values[0] + " " + (c.values.size() > 3 ? c.values[3] : "");
        vk::AutoplayPlan plan = vk::PlanAutoplay(Config(c.values));
        EXPECT_EQ(plan.soundPath, c.sound) << name;
        EXPECT_EQ(plan.splashPath, c.splash) << name;
        ASSERT_EQ(plan.open, c.open) << name;
        if (c.open == OpenWith::Viewer) {
            EXPECT_EQ(plan.viewerFile, c.file) << name;
            EXPECT_EQ(plan.windowSize, c.windowSize) << name;
            EXPECT_EQ(plan.viewerKind, c.kind) << name;
        } else if (c.open == OpenWith::Shell) {
            EXPECT_EQ(plan.shellFile, c.file) << name;
            EXPECT_EQ(plan.shellParams, c.params) << name;
        }
    }
}

TEST(ShellFailureMessage, NamesTheTargetAndTheProgramItWasHandedTo) {
    struct Case {
        std::vector<std::string> values;
        int code;
        std::string message;
    } cases[] = {
        {{"readme.vtq", "0", "0"},
         31,
         "Can't open readme.vtq:\n\nThere is no application associated\nwith the given filename extension."},
        {{"docs\\gone.pdf", "0", "0", "logo.jpg"},
         2,
         "Can't open docs\\gone.pdf:\n\nThe specified file was not found."},
        {{"index.htm", "0", "0"},
         5,
         "Can't open index.htm:\n\nThe operating system denied\naccess to the specified file."},
        // A slide show goes to PowerPoint, which may be the file that is missing.
        {{"Slides.PPT", "1", "0"}, 2, "Can't open Slides.PPT with Powerpnt.exe:\n\nThe specified file was not found."},
        {{"\\", "0", "0"}, 4, "Can't open \\:\n\nUnknown Error (4) occurred."},
    };
    for (const Case& c : cases) {
        const vk::AutoplayPlan plan = vk::PlanAutoplay(Config(c.values));
        ASSERT_EQ(plan.open, vk::OpenWith::Shell) << c.values[0];
        EXPECT_EQ(vk::ShellFailureMessage(c.values[0], plan, c.code), c.message) << c.values[0];
    }
}

TEST(ShellCandidates, NamesTheShellMayResolveToAProgram) {
    const struct {
        const char* target;
        std::vector<std::string> names;
    } cases[] = {
        {"AutoRun.EXE", {"AutoRun.EXE"}},
        {"autorun", {"autorun", "autorun.exe"}},
        {"sub.d\\autorun", {"sub.d\\autorun", "sub.d\\autorun.exe"}},
        {"\\", {"\\"}},
        {"", {""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.names, vk::ShellCandidates(c.target)) << c.target;
}

// One name per disc: spellings of the same folder meet, other folders do not.
TEST(DiscViewerMark, SameForOneFolderInAnySpellingOtherForAnother) {
    const std::string disc = vk::DiscViewerMark("D:\\");
    const std::string site = vk::DiscViewerMark("C:\\Users\\Ann\\Desktop\\CD-ROM Distributable Files");
    struct Case {
        const char* folder;
        const std::string& same; // the mark it must equal, or differ from
        bool equal;
    } cases[] = {
        {"D:", disc, true},
        {"d:\\", disc, true},
        {"D:/", disc, true},
        {"E:\\", disc, false},
        {"D:\\sub", disc, false},
        {"c:\\users\\ann\\desktop\\cd-rom distributable files\\", site, true},
        {"C:/USERS/ANN/DESKTOP/CD-ROM DISTRIBUTABLE FILES", site, true},
        {"C:\\Users\\Ann\\Desktop\\CD-ROM Distributable Files 2", site, false},
        {"C:\\Users\\Ann\\Desktop", site, false},
        {"C:\\Users\\Ann\\Desktop\\CD-ROM Distributable File", site, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vk::DiscViewerMark(c.folder) == c.same, c.equal) << c.folder;
    // Letters outside ASCII are taken as they come (the Win32 side folds them first).
    EXPECT_NE(vk::DiscViewerMark("C:\\\xce\x95\xce\xbb\xce\xad\xce\xbd\xce\xb7"),
              vk::DiscViewerMark("C:\\\xce\x95\xce\xbb\xce\xad\xce\xbd\xce\xb1"));
}

// A mutex name may hold no backslash; this one is the same fixed length for any folder.
TEST(DiscViewerMark, IsAPlainNameOfFixedLength) {
    for (const char* folder :
         {"", "D:\\", "\\\\server\\share\\disc", "C:\\a very long folder name that goes on and on"}) {
        const std::string mark = vk::DiscViewerMark(folder);
        EXPECT_EQ(mark.size(), 32u) << folder;
        EXPECT_EQ(mark.rfind("VINTROSK_VIEWER_", 0), 0u) << mark;
        EXPECT_EQ(mark.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_"), std::string::npos) << mark;
    }
}

} // namespace
