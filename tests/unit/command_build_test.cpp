// Create CD without the dialog: the options, and whole builds on an in-memory disk with the
// exit codes and what is printed.
#include <gtest/gtest.h>

#include <functional>

#include "disc/command_build.h"
#include "disc/disc_files.h"
#include "disc/progress_text.h"
#include "disc/posix/command_build_posix.h"
#include "fake_build_files.h"

namespace {

const std::string kProgram = "C:\\Vintrosk";
const std::string kHere = "C:\\work";
const std::string kMode = "<meta http-equiv=X-UA-Compatible content=IE=edge>";

TEST(CommandOptions, GoodOptionsSetTheirFields) {
    vk::CommandOptions o;
    std::string error;
    ASSERT_TRUE(vk::ParseCommandOptions({"--target", "site\\index.htm", "--splash", "s.jpg", "--no-sound", "--icon",
                                         "d.ico", "--no-browser", "--window-size", "800x600", "--out", "cd", "--image",
                                         "cd.iso", "--label", "MY_DISC", "--allow-missing"},
                                        false, o, error))
        << error;
    EXPECT_EQ((std::array<std::string, 4>{"site\\index.htm", "s.jpg", "", "d.ico"}), o.file);
    EXPECT_EQ((std::array<bool, 4>{false, false, true, false}), o.none);
    EXPECT_TRUE(o.noBrowser);
    EXPECT_EQ(2, o.windowSize);
    EXPECT_EQ("cd", o.out);
    EXPECT_EQ("cd.iso", o.image);
    EXPECT_EQ("MY_DISC", o.label);
    EXPECT_TRUE(o.allowMissing);
    EXPECT_FALSE(o.help);

    struct Case {
        std::vector<std::string> args;
        int windowSize;
    } sizes[] = {
        {{}, 0}, {{"--window-size", "default"}, 0}, {{"--window-size", "640x480"}, 1}, {{"--window-size", "FULL"}, 3}};
    for (const Case& c : sizes) {
        ASSERT_TRUE(vk::ParseCommandOptions(c.args, false, o, error)) << error;
        EXPECT_EQ(c.windowSize, o.windowSize);
    }
    ASSERT_TRUE(vk::ParseCommandOptions({"--launcher", "/opt/Vintrosk.exe", "--help"}, true, o, error));
    EXPECT_EQ("/opt/Vintrosk.exe", o.launcher);
    EXPECT_TRUE(o.help);
}

TEST(CommandOptions, BadOptionsAreRefusedWithTheirReason) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{"--bogus"}, "There is no option --bogus."},
        {{"index.htm"}, "Unexpected argument index.htm."},
        {{"--target"}, "The option --target needs a value."},
        {{"--out", ""}, "The option --out needs a value."},
        {{"--splash", "a.jpg", "--no-splash"}, "The options --splash and --no-splash contradict each other."},
        {{"--no-icon", "--icon", "a.ico"}, "The options --icon and --no-icon contradict each other."},
        {{"--no-sound", "--no-sound"}, "The option --no-sound is given twice."},
        {{"--window-size", "1024x768"}, "The window size 1024x768 is not one of default, 640x480, 800x600 or full."},
        {{"--label", "DISC"}, "The option --label names the disc image's volume label, so it needs --image."},
        {{"--image", "a.iso", "--label", "MUCH_TOO_LONG_A_LABEL"},
         "The volume label is longer than the 16 characters a disc allows."},
        {{"--launcher", "a.exe"}, "There is no option --launcher."}, // only the Linux program has it
    };
    for (const Case& c : cases) {
        vk::CommandOptions o;
        std::string error;
        EXPECT_FALSE(vk::ParseCommandOptions(c.args, false, o, error)) << c.args[0];
        EXPECT_EQ(c.error, error);
    }
}

TEST(CommandOptions, TheHelpNamesEveryOptionAndTheExitCodes) {
    const std::string windows = vk::CommandUsage("Vintrosk.exe design --build", false);
    const std::string linux = vk::CommandUsage("vintrosk build", true);
    for (const char* option : {"--target FILE", "--splash FILE", "--no-splash", "--sound FILE", "--no-sound",
                               "--icon FILE", "--no-icon", "--no-browser", "--window-size", "--out DIR", "--image FILE",
                               "--label NAME", "--allow-missing", "--help", "Exit codes: 0 done"}) {
        EXPECT_NE(std::string::npos, windows.find(option)) << option;
        EXPECT_NE(std::string::npos, linux.find(option)) << option;
    }
    // The options are read in the order of the disc's files, one of each per file.
    ASSERT_EQ(vk::DiscFiles().size(), vk::kFileOptions);
    for (const vk::DiscFile& file : vk::DiscFiles()) {
        EXPECT_NE(std::string::npos, linux.find(std::string(file.given) + " FILE")) << file.role;
        EXPECT_TRUE(!file.none || linux.find(file.none) != std::string::npos) << file.role;
    }
    EXPECT_EQ(0u, windows.find("Usage: Vintrosk.exe design --build [options]"));
    EXPECT_EQ(std::string::npos, windows.find("--launcher"));
    EXPECT_NE(std::string::npos, linux.find("--launcher FILE"));
}

TEST(CommandOptions, OnlyDesignThenBuildStartsACommandBuild) {
    struct Case {
        std::vector<std::string> args;
        bool build;
    } cases[] = {
        {{"design", "--build"}, true},
        {{"design", "--build", "--out", "cd"}, true},
        {{"design"}, false},
        {{"design", "--out", "--build"}, false},
        {{"Design", "--build"}, false},
        {{"--build"}, false},
        {{"page.htm", "design", "--build"}, false},
        {{}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.build, vk::IsCommandBuild(c.args)) << ::testing::PrintToString(c.args);
}

class FakeCommand : public FakeBuildFiles<vk::CommandHost> {
public:
    std::vector<std::string> out, err;

    FakeCommand() {
        disk.Put(kProgram + "\\Vintrosk.exe", "program");
        disk.Put(kProgram + "\\html\\1_Demo_General_Menu.html", kMode + "<img src=logo.gif>");
        disk.Put(kProgram + "\\html\\logo.gif", "logo");
        disk.Put(kProgram + "\\splashscreens\\default.jpg", "splash");
        disk.Put(kProgram + "\\sounds\\default.wav", "sound");
        disk.AddFolder("C:\\Users\\me\\Desktop");
        disk.AddFolder(kHere);
    }
    int Run(const std::vector<std::string>& args) { return vk::RunCommandBuild(args, "vintrosk build", true, *this); }
    std::string Err() const {
        std::string all;
        for (const std::string& line : err)
            all += line + "\n";
        return all;
    }

    void Print(const std::string& text) override { out.push_back(text); }
    void PrintError(const std::string& text) override { err.push_back(text); }
    std::string FullPath(const std::string& path) override {
        return path.size() > 1 && path[1] == ':' ? path : kHere + "\\" + path;
    }
    std::string DefaultLauncher() override { return kProgram + "\\Vintrosk.exe"; }
    vk::ScanFiles& Disk() override { return disk; }
    vk::CodePage& Ansi() override { return ansi; }
    vk::Windows1252 ansi;
    bool DesktopFolder(std::string& path) override {
        path = "C:\\Users\\me\\Desktop";
        return true;
    }
};

TEST(CommandBuild, TheDefaultsBuildTheSampleDiscOnTheDesktop) {
    FakeCommand c;
    EXPECT_EQ(vk::kExitDone, c.Run({}));
    const std::string folder = "C:\\Users\\me\\Desktop\\CD-ROM Distributable Files";
    EXPECT_EQ((std::set<std::string>{"1_Demo_General_Menu.html", "autorun.inf", "COPY_ALL_TO_CDROM_ROOT.txt",
                                     "autorun.exe", "default.jpg", "default.wav", "logo.gif"}),
              c.disk.FilesIn(folder));
    EXPECT_EQ("[autorun]\r\nOPEN=autorun.exe 1_Demo_General_Menu.html 1 0 default.jpg default.wav\r\n"
              "ICON=autorun.exe\r\n",
              c.disk.Content(folder + "\\autorun.inf"));
    EXPECT_EQ(
        (std::vector<std::string>{"Building the CD-ROM files", "Reading html\\1_Demo_General_Menu.html", "Done."}),
        c.out);
    EXPECT_TRUE(c.err.empty()) << c.Err();
    EXPECT_TRUE(c.images.empty());
}

TEST(CommandBuild, OptionsGiveTheirFilesFolderAndImage) {
    FakeCommand c;
    c.disk.Put(kHere + "\\site\\start page.htm", kMode + "<img src=pic.gif>");
    c.disk.Put(kHere + "\\site\\pic.gif", "pic");
    c.disk.Put(kHere + "\\disc.ico", "icon");
    EXPECT_EQ(vk::kExitDone, c.Run({"--target", "site\\start page.htm", "--no-splash", "--no-sound", "--icon",
                                    "disc.ico", "--window-size", "full", "--out", "cd\\", "--image", "cd.iso"}))
        << c.Err();
    const std::string folder = kHere + "\\cd";
    EXPECT_EQ((std::set<std::string>{"start_page.htm", "autorun.inf", "COPY_ALL_TO_CDROM_ROOT.txt", "autorun.exe",
                                     "disc.ico", "pic.gif"}),
              c.disk.FilesIn(folder));
    EXPECT_EQ("[autorun]\r\nOPEN=autorun.exe start_page.htm 1 3\r\nICON=disc.ico\r\n",
              c.disk.Content(folder + "\\autorun.inf"));
    EXPECT_EQ((std::vector<std::vector<std::string>>{{folder + ".part", kHere + "\\cd.iso", "START_PAGE"}}), c.images);

    FakeCommand root;
    EXPECT_EQ(vk::kExitDone, root.Run({"--target", "\\", "--no-browser", "--out", "cd"})) << root.Err();
    EXPECT_EQ("[autorun]\r\nOPEN=autorun.exe \\ 0 0 default.jpg default.wav\r\nICON=autorun.exe\r\n",
              root.disk.Content(kHere + "\\cd\\autorun.inf"));
    EXPECT_FALSE(root.disk.Has(kHere + "\\cd\\logo.gif")); // nothing scanned
}

// Each failure: its exit code, a message naming the file, and (before the build) nothing written.
TEST(CommandBuild, FailuresEndWithTheirExitCodeAndMessage) {
    struct Case {
        const char* what;
        std::vector<std::string> args;
        std::function<void(FakeCommand&)> arrange;
        int code;
        std::string message;
        bool written;
    } cases[] = {
        {"a bad option",
         {"--sound"},
         nullptr,
         vk::kExitBadOptions,
         "The option --sound needs a value.\nRun vintrosk build --help for the options.\n",
         false},
        {"a given file missing",
         {"--splash", "gone.jpg", "--out", "cd"},
         nullptr,
         vk::kExitError,
         "The splash image C:\\work\\gone.jpg was not found.\n",
         false},
        {"a default file missing",
         {"--out", "cd"},
         [](FakeCommand& c) { c.disk.Remove(kProgram + "\\sounds\\default.wav"); },
         vk::kExitError,
         "The sound C:\\Vintrosk\\sounds\\default.wav was not found.\n",
         false},
        {"no launcher",
         {"--launcher", "C:\\none\\Vintrosk.exe", "--out", "cd"},
         nullptr,
         vk::kExitError,
         "The program to copy as autorun.exe, C:\\none\\Vintrosk.exe, was not found. Please name it with "
         "--launcher.\n",
         false},
        {"an output folder of other files",
         {"--out", "docs"},
         [](FakeCommand& c) { c.disk.Put(kHere + "\\docs\\letter.txt", "mine"); },
         vk::kExitError,
         "The folder C:\\work\\docs holds files that Create CD did not make:\n\n    letter.txt\n\nThey are kept, and "
         "nothing was written. Please move them away, or name a new or empty folder with --out.\n",
         false},
        {"an unwritable output folder",
         {"--out", "cd"},
         [](FakeCommand& c) { c.files.unwritable.insert(kHere + "\\cd.part"); },
         vk::kExitError,
         "There was a problem creating the output folder C:\\work\\cd\n\nPlease check that the folder above it "
         "exists and that you may write there.\n",
         false},
        {"a missing linked file",
         {"--out", "cd"},
         [](FakeCommand& c) { c.disk.Remove(kProgram + "\\html\\logo.gif"); },
         vk::kExitMissing,
         "Missing linked file: html\\logo.gif (not found)\n"
         "1 linked file(s) missing: the CD-ROM files are incomplete.\n",
         true},
        {"a name no disc holds",
         {"--target", "a;b.htm", "--out", "cd"},
         [](FakeCommand& c) { c.disk.Put(kHere + "\\a;b.htm", kMode); },
         vk::kExitError,
         "The file C:\\work\\a;b.htm cannot go on the CD-ROM as a;b.htm: the name holds a character a disc cannot "
         "hold (* / : ; ? \\ or a control character).\n\nPlease rename the file or select another one.\n",
         false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        FakeCommand c;
        if (k.arrange)
            k.arrange(c);
        const std::set<std::string> before = c.disk.AllFiles();
        EXPECT_EQ(k.code, c.Run(k.args));
        EXPECT_EQ(k.message, c.Err());
        if (!k.written) {
            EXPECT_EQ(before, c.disk.AllFiles());
            EXPECT_FALSE(c.disk.FolderExists(kHere + "\\cd"));
        }
    }
}

TEST(CommandBuild, MissingFilesAllowedAndWarningsArePrintedAndTheBuildGoesOn) {
    FakeCommand c;
    c.disk.Remove(kProgram + "\\html\\logo.gif");
    c.disk.Put(kProgram + "\\html\\1_Demo_General_Menu.html", "<img src=logo.gif>");
    EXPECT_EQ(vk::kExitDone, c.Run({"--out", "cd", "--allow-missing"}));
    EXPECT_EQ("Warning: The page C:\\Vintrosk\\html\\1_Demo_General_Menu.html declares no document mode "
              "(X-UA-Compatible), so the built-in viewer draws it in its oldest mode.\n"
              "Missing linked file: html\\logo.gif (not found)\n",
              c.Err());
    EXPECT_TRUE(c.disk.Has(kHere + "\\cd\\autorun.exe"));
    EXPECT_EQ("Done.", c.out.back());
}

// A rebuild holds exactly the new disc: an earlier build's files, in every folder, go; a file
// that no build wrote stops the build with nothing changed.
TEST(CommandBuild, ARebuildHoldsExactlyTheNewDisc) {
    FakeCommand c;
    c.disk.Put(kHere + "\\a\\index.html", kMode + "<img src=img/a.gif><a href=more/b.htm>");
    c.disk.Put(kHere + "\\a\\img\\a.gif", "a");
    c.disk.Put(kHere + "\\a\\more\\b.htm", kMode + "<img src=../img/a.gif>");
    ASSERT_EQ(vk::kExitDone, c.Run({"--target", "a\\index.html", "--out", "cd", "--image", "cd.iso"})) << c.Err();
    ASSERT_TRUE(c.disk.Has(kHere + "\\cd\\img\\a.gif"));
    ASSERT_TRUE(c.disk.Has(kHere + "\\cd\\more\\b.htm"));

    EXPECT_EQ(vk::kExitDone, c.Run({"--out", "cd", "--image", "cd.iso"})) << c.Err();
    EXPECT_EQ((std::set<std::string>{"1_Demo_General_Menu.html", "autorun.inf", "COPY_ALL_TO_CDROM_ROOT.txt",
                                     "autorun.exe", "default.jpg", "default.wav", "logo.gif"}),
              c.disk.FilesIn(kHere + "\\cd"));
    EXPECT_FALSE(c.disk.FolderExists(kHere + "\\cd\\img"));
    EXPECT_FALSE(c.disk.FolderExists(kHere + "\\cd\\more"));
    // The second image is made of the second folder alone.
    EXPECT_EQ((std::vector<std::string>{kHere + "\\cd.part", kHere + "\\cd.iso", "1_DEMO_GENERAL_M"}), c.images.back());
    EXPECT_EQ((std::set<std::string>{"cd.iso"}), c.disk.FilesIn(kHere));

    c.disk.Put(kHere + "\\cd\\sub\\notes.txt", "mine");
    c.err.clear();
    EXPECT_EQ(vk::kExitError, c.Run({"--target", "a\\index.html", "--out", "cd"}));
    EXPECT_NE(std::string::npos, c.Err().find("\n    sub\\notes.txt\n")) << c.Err();
    EXPECT_EQ("mine", c.disk.Content(kHere + "\\cd\\sub\\notes.txt"));
    EXPECT_TRUE(c.disk.Has(kHere + "\\cd\\default.wav"));
    EXPECT_FALSE(c.disk.FolderExists(kHere + "\\cd.part"));
}

TEST(CommandBuildPosix, PathsAndMessagesTurnRound) {
    EXPECT_EQ("/home/me/site/a b.htm", vk::PosixPath("\\home\\me\\site\\a b.htm"));
    EXPECT_EQ("\\home\\me\\cd", vk::CorePath("/home/me/cd"));
    EXPECT_EQ("There was a problem copying /home/me/a.gif to /tmp/cd/a.gif",
              vk::PosixMessage("There was a problem copying \\home\\me\\a.gif to \\tmp\\cd\\a.gif"));
    EXPECT_EQ("placed in /tmp/cd/\n\n(* / : ; ? \\ or a control character)",
              vk::PosixMessage("placed in \\tmp\\cd\\\n\n(* / : ; ? \\ or a control character)"));
}

} // namespace

// A terminal of 40 columns with a clock that stands still unless a test moves it.
class TerminalCommand : public FakeCommand {
public:
    std::vector<std::string> lines; // each rewrite of the progress line
    unsigned long long now = 1000;
    size_t TerminalWidth() override { return 40; }
    void ShowProgressLine(const std::string& line) override { lines.push_back(line); }
    unsigned long long Milliseconds() override { return now; }
};

size_t Characters(const std::string& text) {
    size_t n = 0;
    for (unsigned char c : text)
        n += (c & 0xC0) != 0x80;
    return n;
}

// On a terminal: no page lines, a progress line paced to ten a second (the first and the
// last of a stage always), each fitting the width; --quiet: nothing but what goes wrong.
TEST(CommandBuild, ATerminalGetsOnePacedLineAndQuietGetsNothing) {
    {
        TerminalCommand c;
        c.disk.Put(kProgram + "\\html\\1_Demo_General_Menu.html", kMode + "<img src=logo.gif><a href=p2.htm>");
        c.disk.Put(kProgram + "\\html\\p2.htm", kMode + "<a href=p3.htm>");
        c.disk.Put(kProgram + "\\html\\p3.htm", kMode);
        EXPECT_EQ(vk::kExitDone, c.Run({"--image", "disc.iso"}));
        EXPECT_EQ((std::vector<std::string>{"Building the CD-ROM files",
                                            "Writing the disc image " + kHere + "\\disc.iso", "Done."}),
                  c.out);
        ASSERT_FALSE(c.lines.empty());
        EXPECT_EQ(0u, c.lines.front().find("Reading linked objects 1 page")) << c.lines.front();
        bool copyingEnd = false;
        for (const std::string& line : c.lines) {
            EXPECT_LE(Characters(line), 39u) << line;
            copyingEnd = copyingEnd || line.find("9 of 9 files") == 0;
        }
        EXPECT_TRUE(copyingEnd) << ::testing::PrintToString(c.lines);
        // The clock stood still: the first of each stage and the ends, not every file.
        EXPECT_LT(c.lines.size(), 8u) << ::testing::PrintToString(c.lines);
    }
    {
        TerminalCommand c;
        EXPECT_EQ(vk::kExitDone, c.Run({"--quiet", "--image", "disc.iso"}));
        EXPECT_TRUE(c.out.empty()) << ::testing::PrintToString(c.out);
        EXPECT_TRUE(c.err.empty());
        EXPECT_TRUE(c.lines.empty());
        EXPECT_TRUE(c.disk.Has(kHere + "\\disc.iso"));
    }
}

// The words and figures of the progress display.
TEST(ProgressText, CountsBarAndLine) {
    using vk::BuildStage;
    vk::BuildProgress reading{BuildStage::Reading, "html\\a.htm", 1, 0, 0, 0, 0, 0};
    vk::BuildProgress copying{BuildStage::Copying,
                              "C:\\site\\\xCE\xB5\xCE\xB9\xCE\xBA\xCF\x8C\xCE\xBD\xCE\xB1.gif",
                              3,
                              9,
                              1203,
                              2703,
                              36280320ULL,
                              75497472ULL};
    vk::BuildProgress imaging{BuildStage::Imaging, "D:\\disc.iso", 0, 0, 0, 0, 5ULL << 20, 10ULL << 20};
    EXPECT_EQ("1 page", vk::ProgressCounts(reading));
    EXPECT_EQ("1,203 of 2,703 files, 34.5 of 72.0 MB", vk::ProgressCounts(copying));
    EXPECT_EQ("5.0 of 10.0 MB", vk::ProgressCounts(imaging));
    EXPECT_EQ(-1, vk::ProgressPerMille(reading));
    EXPECT_EQ(480, vk::ProgressPerMille(copying));
    EXPECT_EQ(500, vk::ProgressPerMille(imaging));
    EXPECT_EQ("Reading linked objects 1 page: html\\a.htm", vk::ProgressLine(reading, 80));
    // The item's end is kept, whole characters only.
    EXPECT_EQ("Copying the files 1,203 of 2,703 files, 34.5 of 72.0 MB: ...\xCE\xBA\xCF\x8C\xCE\xBD\xCE\xB1.gif",
              vk::ProgressLine(copying, 68));
    EXPECT_EQ("Writing the disc image 5.0 of 10.0 MB", vk::ProgressLine(imaging, 80));
    for (size_t columns = 1; columns < 90; ++columns)
        EXPECT_LE(Characters(vk::ProgressLine(copying, columns)), columns) << columns;
}
