// Create CD from the designer's settings, on an in-memory disk: which files land in the
// output folder under which names, what autorun.inf says, and what the user is told.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <thread>

#include "core/ascii_case.h"
#include "disc/builder.h"
#include "disc/scanner.h"
#include "fake_build_files.h"
#include "scanner_fake_disk.h"

namespace {

const std::string kDesktop = "C:\\Users\\me\\Desktop";
const std::string kFolder = kDesktop + "\\CD-ROM Distributable Files";
const std::string kOut = kFolder + "\\";
const std::string kProgram = "C:\\Program Files\\Vintrosk";
const std::string kMode = "<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">";

class FakeBuild : public FakeBuildFiles<vk::BuildHost> {
public:
    vk::MissingFileList missing;
    bool desktopFound = true;
    bool answerYes = false;
    std::vector<std::string> told;
    std::vector<std::string> asked;
    int focusCalls = 0;
    std::vector<std::string> preview; // exe, parameters, folder
    std::vector<std::string> scanned;
    size_t toldBeforeAsking = 0;
    bool acceptWarnings = true;
    size_t most = SIZE_MAX;
    std::vector<std::string> accepted;

    FakeBuild() {
        disk.workingFolder = "C:\\Windows";
        disk.AddFolder(kDesktop);
        disk.Put(kProgram + "\\Vintrosk.exe", "program");
        disk.Put(kProgram + "\\html\\1_Demo_General_Menu.html", kMode + "<img src=logo.gif><a href=next.htm>");
        disk.Put(kProgram + "\\html\\next.htm", kMode + "<img src='photo.jpg'>");
        disk.Put(kProgram + "\\html\\logo.gif", "logo");
        disk.Put(kProgram + "\\html\\photo.jpg", "photo");
        disk.Put(kProgram + "\\splashscreens\\default.jpg", "splash");
        disk.Put(kProgram + "\\sounds\\default.wav", "sound");
    }

    bool DesktopFolder(std::string& path) override {
        path = desktopFound ? kDesktop : "";
        return desktopFound;
    }
    std::vector<std::vector<std::string>> foreignAsked; // folder, then the names
    bool replaceForeign = false;

    // Every report, and the pages as they were read; Cancelled answers true from the report
    // numbered cancelAt on.
    std::vector<vk::BuildProgress> progress;
    size_t cancelAt = SIZE_MAX;
    void Progress(const vk::BuildProgress& p) override {
        progress.push_back(p);
        if (p.stage == vk::BuildStage::Reading)
            scanned.push_back(p.item);
    }
    bool Cancelled() override { return progress.size() >= cancelAt; }
    void ShowMissing(const std::vector<vk::MissingFile>& list) override {
        missing.Clear();
        for (const vk::MissingFile& file : list)
            missing.Add(file.path, file.reason, file.detail);
    }
    bool ReplaceForeignFiles(const std::string& folder, const std::vector<std::string>& names) override {
        std::vector<std::string> asked{folder};
        asked.insert(asked.end(), names.begin(), names.end());
        foreignAsked.push_back(asked);
        return replaceForeign;
    }
    void Tell(const std::string& message) override { told.push_back(message); }
    bool Ask(const std::string& question) override {
        asked.push_back(question);
        toldBeforeAsking = told.size();
        return answerYes;
    }
    void FocusTargetName() override { ++focusCalls; }
    void StartPreview(const std::string& exe, const std::string& parameters, const std::string& folder) override {
        preview = {exe, parameters, folder};
    }
    vk::FileSource& Files() override { return disk; }
    vk::CodePage& Ansi() override { return ansi; }
    vk::Windows1252 ansi;
    size_t MostFindingsShown() override { return most; }
    bool Accept(const std::string& warnings) override {
        accepted.push_back(warnings);
        return acceptWarnings;
    }
};

// The designer's defaults, with the program installed in kProgram.
vk::DiscSettings Defaults() {
    vk::DiscSettings s;
    s.m_strTarget = "1_Demo_General_Menu.html";
    s.m_strTargetPath = "html\\1_Demo_General_Menu.html";
    s.m_bSplash = true;
    s.m_strSplashName = "default.jpg";
    s.m_strSplashPath = "splashscreens/default.jpg";
    s.m_bSound = true;
    s.m_strSoundName = "default.wav";
    s.m_strSoundPath = "sounds/default.wav";
    s.m_bIcon = true;
    s.m_strIconName = "autorun.exe";
    s.m_strIconPath = "autorun.exe";
    s.m_bBrowser = true;
    s.m_nWindowSize = 0;
    s.m_strExePath = kProgram + "\\Vintrosk.exe";
    s.m_strProgramFolder = kProgram;
    return s;
}

const char* kNote = "Copy all the included files to your CD-ROM root directory to enable CD Auto-Play.\r\n"
                    "It is safe to erase this file.\r\n";

TEST(BuilderRun, DefaultsBuildTheSampleDisc) {
    FakeBuild build;

    EXPECT_EQ(vk::BuildOutcome::Declined, vk::RunBuild(Defaults(), build));

    EXPECT_EQ((std::set<std::string>{"1_Demo_General_Menu.html", "autorun.inf", "COPY_ALL_TO_CDROM_ROOT.txt",
                                     "autorun.exe", "default.jpg", "default.wav", "logo.gif", "next.htm", "photo.jpg"}),
              build.disk.FilesIn(kFolder));
    EXPECT_EQ("[autorun]\r\nOPEN=autorun.exe 1_Demo_General_Menu.html 1 0 default.jpg default.wav\r\n"
              "ICON=autorun.exe\r\n",
              build.disk.Content(kOut + "autorun.inf"));
    EXPECT_EQ(kNote, build.disk.Content(kOut + "COPY_ALL_TO_CDROM_ROOT.txt"));
    EXPECT_EQ("program", build.disk.Content(kOut + "autorun.exe"));
    EXPECT_EQ("splash", build.disk.Content(kOut + "default.jpg"));
    EXPECT_TRUE(build.told.empty());
    EXPECT_EQ((std::vector<std::string>{"html\\1_Demo_General_Menu.html", "html\\next.htm"}), build.scanned);
    EXPECT_EQ(
        std::vector<std::string>{
            "Your files have been created and placed in " + kOut +
            "\n\nSimply burn the included files, and all images used within those files (such as HTML "
            "graphics), to your CD-ROM root directory for auto-play.\n\nWould you like to preview your "
            "CD-ROM Auto-Play now?"},
        build.asked);
    EXPECT_TRUE(build.preview.empty());
    // Relative sample paths resolved against the program folder, which stays the working folder.
    EXPECT_EQ(kProgram, build.disk.workingFolder);
}

TEST(BuilderRun, YesStartsThePreviewInTheOutputFolder) {
    FakeBuild build;
    build.answerYes = true;
    vk::DiscSettings s = Defaults();
    s.m_nWindowSize = 2;
    EXPECT_EQ(vk::BuildOutcome::Previewed, vk::RunBuild(s, build));
    EXPECT_EQ(
        (std::vector<std::string>{kOut + "autorun.exe", "1_Demo_General_Menu.html 1 2 default.jpg default.wav", kOut}),
        build.preview);
}

TEST(BuilderRun, NothingIsTouchedWithoutATargetNameOrADesktop) {
    {
        SCOPED_TRACE("a target name with a space");
        FakeBuild build;
        vk::DiscSettings s = Defaults();
        s.m_strTarget = "my page.htm";
        const std::set<std::string> before = build.disk.AllFiles();
        EXPECT_EQ(vk::BuildOutcome::Refused, vk::RunBuild(s, build));
        EXPECT_EQ(std::vector<std::string>{"The filename can not contain any spaces. Spaces in filenames can cause "
                                           "problems when burning on a CD-ROM.\nPlease rename the file or select "
                                           "a new one."},
                  build.told);
        EXPECT_EQ(1, build.focusCalls);
        EXPECT_EQ(before, build.disk.AllFiles());
        EXPECT_FALSE(build.disk.FolderExists(kFolder));
        EXPECT_EQ("C:\\Windows", build.disk.workingFolder);
    }
    {
        SCOPED_TRACE("no desktop folder");
        FakeBuild build;
        build.desktopFound = false;
        const std::set<std::string> before = build.disk.AllFiles();
        EXPECT_EQ(vk::BuildOutcome::NoDesktop, vk::RunBuild(Defaults(), build));
        EXPECT_EQ(std::vector<std::string>{vk::kNoDesktopMessage}, build.told);
        EXPECT_EQ(0, build.focusCalls);
        EXPECT_EQ(before, build.disk.AllFiles());
        EXPECT_TRUE(build.asked.empty());
        EXPECT_EQ("C:\\Windows", build.disk.workingFolder);
    }
}

TEST(BuilderRun, AFailedCopyStopsTheBuildWithItsMessage) {
    const std::string advice = "\n\nPlease verify the file exists and is not currently opened in another program.";
    const std::string extraAdvice =
        "\n\nPlease verify the file actually exists and is not currently opened in another program.";
    const struct {
        const char* name;
        void (*change)(vk::DiscSettings&, FakeDisk&);
        std::string message;
        std::set<std::string> left;
    } cases[] = {
        {"the target's name names a folder the output folder lacks",
         [](vk::DiscSettings& s, FakeDisk&) { s.m_strTarget = "pages\\1_Demo_General_Menu.html"; },
         "There was a problem copying html\\1_Demo_General_Menu.html to " + kOut + "pages\\1_Demo_General_Menu.html" +
             ": access is denied." + advice,
         {}},
        {"the target's name climbs out of the output folder",
         [](vk::DiscSettings& s, FakeDisk&) { s.m_strTarget = "..\\1_Demo_General_Menu.html"; },
         "There was a problem copying html\\1_Demo_General_Menu.html to " + kOut + "..\\1_Demo_General_Menu.html" +
             advice,
         {}},
        {"the program cannot be read",
         [](vk::DiscSettings&, FakeDisk& disk) { disk.Unreadable(kProgram + "\\Vintrosk.exe"); },
         "There was a problem copying " + kProgram + "\\Vintrosk.exe to " + kOut + "autorun.exe: access is denied." +
             advice +
             "\nPlease also verify that any long sound effect has stopped playing before creating a new "
             "presentation.",
         {"1_Demo_General_Menu.html", "autorun.inf", "COPY_ALL_TO_CDROM_ROOT.txt"}},
        {"the splash image is missing",
         [](vk::DiscSettings&, FakeDisk& disk) { disk.Remove(kProgram + "\\splashscreens\\default.jpg"); },
         "There was a problem copying splashscreens/default.jpg to " + kOut + "default.jpg" + extraAdvice,
         {"1_Demo_General_Menu.html", "autorun.inf", "COPY_ALL_TO_CDROM_ROOT.txt", "autorun.exe"}},
        {"the sound is missing",
         [](vk::DiscSettings& s, FakeDisk&) { s.m_strSoundPath = "sounds/gone.wav"; },
         "There was a problem copying sounds/gone.wav to " + kOut + "default.wav" + extraAdvice,
         {"1_Demo_General_Menu.html", "autorun.inf", "COPY_ALL_TO_CDROM_ROOT.txt", "autorun.exe", "default.jpg"}},
        {"the icon is missing",
         [](vk::DiscSettings& s, FakeDisk&) {
             s.m_strIconName = "disc.ico";
             s.m_strIconPath = "C:\\icons\\disc.ico";
         },
         "There was a problem copying C:\\icons\\disc.ico to " + kOut + "disc.ico" + extraAdvice,
         {"1_Demo_General_Menu.html", "autorun.inf", "COPY_ALL_TO_CDROM_ROOT.txt", "autorun.exe", "default.jpg",
          "default.wav"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeBuild build;
        build.answerYes = true;
        vk::DiscSettings s = Defaults();
        c.change(s, build.disk);
        EXPECT_EQ(vk::BuildOutcome::Stopped, vk::RunBuild(s, build));
        EXPECT_EQ(std::vector<std::string>{c.message}, build.told);
        // A failed build leaves no folder, not a part of one (what it had copied was c.left).
        EXPECT_FALSE(build.disk.FolderExists(kFolder));
        EXPECT_FALSE(build.disk.FolderExists(kFolder + ".part"));
        EXPECT_TRUE(build.asked.empty());
        EXPECT_TRUE(build.preview.empty());
        // Nothing lands beside the output folder.
        EXPECT_EQ(std::set<std::string>{}, build.disk.FilesIn(kDesktop));
    }
}

TEST(BuilderRun, NamesOnTheDisc) {
    const struct {
        const char* name;
        void (*change)(vk::DiscSettings&, FakeDisk&);
        std::string openLine;
        std::set<std::string> files;
    } cases[] = {
        {"spaces in the sound's name become underscores",
         [](vk::DiscSettings& s, FakeDisk& disk) {
             s.m_strSoundName = "intro music.wav";
             s.m_strSoundPath = "C:\\My Sounds\\intro music.wav";
             disk.Put(s.m_strSoundPath, "music");
         },
         "OPEN=autorun.exe 1_Demo_General_Menu.html 1 0 default.jpg intro_music.wav",
         {"1_Demo_General_Menu.html", "default.jpg", "intro_music.wav"}},
        {"splash on with no image chosen",
         [](vk::DiscSettings& s, FakeDisk&) { s.m_strSplashName.clear(); },
         "OPEN=autorun.exe 1_Demo_General_Menu.html 1 0 default.wav",
         {"1_Demo_General_Menu.html", "default.wav"}},
        {"options off",
         [](vk::DiscSettings& s, FakeDisk&) { s.m_bSplash = s.m_bSound = s.m_bIcon = s.m_bBrowser = false; },
         "OPEN=autorun.exe 1_Demo_General_Menu.html 0 0",
         {"1_Demo_General_Menu.html"}},
        {"a custom icon is copied under its name",
         [](vk::DiscSettings& s, FakeDisk& disk) {
             s.m_strIconName = "my disc.ico";
             s.m_strIconPath = "C:\\icons\\my disc.ico";
             disk.Put(s.m_strIconPath, "icon");
         },
         "OPEN=autorun.exe 1_Demo_General_Menu.html 1 0 default.jpg default.wav",
         {"1_Demo_General_Menu.html", "default.jpg", "default.wav", "my_disc.ico"}},
        {"a backslash target opens the disc and is not copied",
         [](vk::DiscSettings& s, FakeDisk&) { s.m_strTarget = "\\"; },
         "OPEN=autorun.exe \\ 1 0 default.jpg default.wav",
         {"default.jpg", "default.wav"}},
        {"the same picture as splash image and icon",
         [](vk::DiscSettings& s, FakeDisk&) {
             s.m_strIconName = "default.jpg";
             s.m_strIconPath = kProgram + "\\splashscreens\\default.jpg";
         },
         "OPEN=autorun.exe 1_Demo_General_Menu.html 1 0 default.jpg default.wav",
         {"1_Demo_General_Menu.html", "default.jpg", "default.wav"}},
        {"the running program, itself named autorun.exe, picked as the icon",
         [](vk::DiscSettings& s, FakeDisk& disk) {
             s.m_strExePath = "D:\\autorun.exe";
             disk.Put(s.m_strExePath, "program");
             s.m_strIconPath = "d:\\AUTORUN.EXE";
         },
         "OPEN=autorun.exe 1_Demo_General_Menu.html 1 0 default.jpg default.wav",
         {"1_Demo_General_Menu.html", "default.jpg", "default.wav"}},
        {"an empty target",
         [](vk::DiscSettings& s, FakeDisk&) {
             s.m_strTarget.clear();
             s.m_strTargetPath = "C:\\docs\\manual.pdf";
         },
         "OPEN=autorun.exe none 1 0 default.jpg default.wav",
         {"default.jpg", "default.wav"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeBuild build;
        vk::DiscSettings s = Defaults();
        c.change(s, build.disk);
        EXPECT_EQ(vk::BuildOutcome::Declined, vk::RunBuild(s, build));
        EXPECT_TRUE(build.told.empty());
        const std::string inf = build.disk.Content(kOut + "autorun.inf");
        EXPECT_EQ(c.openLine, inf.substr(11, inf.find("\r\n", 11) - 11));
        std::set<std::string> files = build.disk.FilesIn(kFolder);
        for (const char* always : {"autorun.inf", "COPY_ALL_TO_CDROM_ROOT.txt", "autorun.exe"})
            EXPECT_EQ(1u, files.erase(always)) << always;
        for (const char* linked : {"logo.gif", "next.htm", "photo.jpg"})
            files.erase(linked);
        EXPECT_EQ(c.files, files);
    }
}

TEST(BuilderRun, TheRememberedPageIsScannedWhateverTheTargetName) {
    FakeBuild build;
    vk::DiscSettings s = Defaults();
    s.m_strTarget = "\\";
    vk::RunBuild(s, build);
    EXPECT_EQ((std::vector<std::string>{"html\\1_Demo_General_Menu.html", "html\\next.htm"}), build.scanned);
    const std::set<std::string> files = build.disk.FilesIn(kFolder);
    EXPECT_TRUE(files.count("logo.gif") && files.count("next.htm") && files.count("photo.jpg"));
    EXPECT_FALSE(files.count("1_Demo_General_Menu.html"));
}

TEST(BuilderRun, AFolderThatCannotBeCreatedStopsTheBuildWithNothingWritten) {
    FakeBuild build;
    build.files.unwritable.insert(kFolder + ".part");
    EXPECT_EQ(vk::BuildOutcome::Stopped, vk::RunBuild(Defaults(), build));
    EXPECT_EQ(std::vector<std::string>{"There was a problem creating the following directory:\n" + kFolder +
                                       "\n\nPlease check your permissions on your desktop."},
              build.told);
    EXPECT_EQ(std::set<std::string>{}, build.disk.FilesIn(kDesktop));
    EXPECT_FALSE(build.disk.FolderExists(kFolder));
    EXPECT_TRUE(build.asked.empty());
}

TEST(BuilderRun, PickedFilesThatWouldBeLostOrReplacedAreRefusedBeforeAnythingIsTouched) {
    const struct {
        const char* name;
        void (*change)(vk::DiscSettings&, FakeDisk&);
        std::string message;
        bool focusOnTarget;
    } cases[] = {
        {"a target named like the launcher",
         [](vk::DiscSettings& s, FakeDisk& disk) {
             s.m_strTarget = "AutoRun.EXE";
             s.m_strTargetPath = "C:\\apps\\AutoRun.EXE";
             disk.Put(s.m_strTargetPath, "the user's program");
         },
         vk::ReservedNameMessage("file to open", "AutoRun.EXE"), true},
        {"a target named like autorun.inf", [](vk::DiscSettings& s, FakeDisk&) { s.m_strTarget = "autorun.inf"; },
         vk::ReservedNameMessage("file to open", "autorun.inf"), true},
        {"a target named like the note, in another letter case",
         [](vk::DiscSettings& s, FakeDisk&) { s.m_strTarget = "copy_all_to_cdrom_root.TXT"; },
         vk::ReservedNameMessage("file to open", "copy_all_to_cdrom_root.TXT"), true},
        {"a trailing dot that Windows drops", [](vk::DiscSettings& s, FakeDisk&) { s.m_strTarget = "autorun.exe."; },
         vk::ReservedNameMessage("file to open", "autorun.exe."), true},
        {"an icon taken from a program called AUTORUN.EXE",
         [](vk::DiscSettings& s, FakeDisk& disk) {
             s.m_strIconName = "AUTORUN.EXE";
             s.m_strIconPath = "C:\\tools\\AUTORUN.EXE";
             disk.Put(s.m_strIconPath, "another program");
         },
         vk::ReservedNameMessage("icon file", "AUTORUN.EXE"), false},
        {"an icon taken from another program called autorun.exe",
         [](vk::DiscSettings& s, FakeDisk& disk) {
             s.m_strIconPath = "C:\\tools\\autorun.exe";
             disk.Put(s.m_strIconPath, "another program");
         },
         vk::ReservedNameMessage("icon file", "autorun.exe"), false},
        {"a sound named like autorun.inf", [](vk::DiscSettings& s, FakeDisk&) { s.m_strSoundName = "AUTORUN.INF"; },
         vk::ReservedNameMessage("sound", "AUTORUN.INF"), false},
        {"two different files under one name",
         [](vk::DiscSettings& s, FakeDisk& disk) {
             s.m_strTarget = "default.jpg";
             s.m_strTargetPath = "C:\\photos\\default.jpg";
             disk.Put(s.m_strTargetPath, "a photo");
         },
         vk::SameNameMessage("file to open", "splash image", "default.jpg"), true},
        {"an icon whose name only differs in letter case from the sound's",
         [](vk::DiscSettings& s, FakeDisk& disk) {
             s.m_strIconName = "DEFAULT.WAV";
             s.m_strIconPath = "C:\\other\\DEFAULT.WAV";
             disk.Put(s.m_strIconPath, "not the sound");
         },
         vk::SameNameMessage("sound", "icon file", "DEFAULT.WAV"), false},
        {"a target inside the output folder",
         [](vk::DiscSettings& s, FakeDisk& disk) {
             s.m_strTarget = "index.htm";
             s.m_strTargetPath = kOut + "index.htm";
             disk.Put(s.m_strTargetPath, "<img src=logo.gif>");
         },
         vk::InsideOutputMessage("file to open", kOut + "index.htm", kFolder), true},
        {"the same, spelt with other letter case and slashes",
         [](vk::DiscSettings& s, FakeDisk& disk) {
             s.m_strTarget = "index.htm";
             s.m_strTargetPath = "c:/users/ME/desktop/cd-rom distributable files/sub/../index.htm";
             disk.Put(kOut + "index.htm", "<img src=logo.gif>");
         },
         vk::InsideOutputMessage("file to open", "c:\\users\\ME\\desktop\\cd-rom distributable files\\index.htm",
                                 kFolder),
         true},
        {"a page that is only scanned, inside the output folder",
         [](vk::DiscSettings& s, FakeDisk& disk) {
             s.m_strTarget = "\\";
             s.m_strTargetPath = kOut + "index.htm";
             disk.Put(s.m_strTargetPath, "<img src=logo.gif>");
         },
         vk::InsideOutputMessage("file to open", kOut + "index.htm", kFolder), false},
        {"a splash image inside the output folder",
         [](vk::DiscSettings& s, FakeDisk& disk) {
             s.m_strSplashPath = kOut + "default.jpg";
             disk.Put(s.m_strSplashPath, "splash");
         },
         vk::InsideOutputMessage("splash image", kOut + "default.jpg", kFolder), false},
        {"an icon inside the output folder",
         [](vk::DiscSettings& s, FakeDisk& disk) {
             s.m_strIconName = "disc.ico";
             s.m_strIconPath = kOut + "disc.ico";
             disk.Put(s.m_strIconPath, "icon");
         },
         vk::InsideOutputMessage("icon file", kOut + "disc.ico", kFolder), false},
        {"the designer running from the output folder",
         [](vk::DiscSettings& s, FakeDisk& disk) {
             s.m_strExePath = kOut + "autorun.exe";
             disk.Put(s.m_strExePath, "program");
         },
         vk::InsideOutputMessage("program", kOut + "autorun.exe", kFolder), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeBuild build;
        build.disk.Put(kOut + "from the last build.txt", "old");
        vk::DiscSettings s = Defaults();
        c.change(s, build.disk);
        const std::set<std::string> before = build.disk.AllFiles();
        EXPECT_EQ(vk::BuildOutcome::Refused, vk::RunBuild(s, build));
        EXPECT_EQ(std::vector<std::string>{c.message}, build.told);
        EXPECT_EQ(c.focusOnTarget ? 1 : 0, build.focusCalls);
        EXPECT_EQ(before, build.disk.AllFiles());
        EXPECT_TRUE(build.asked.empty());
        EXPECT_TRUE(build.scanned.empty());
    }
}

TEST(BuilderRun, AMissingTargetIsLeftOutWithAWarningBeforeTheQuestion) {
    FakeBuild build;
    vk::DiscSettings s = Defaults();
    s.m_strTarget = "gone.htm";
    s.m_strTargetPath = "html\\gone.htm";
    EXPECT_EQ(vk::BuildOutcome::Declined, vk::RunBuild(s, build));
    EXPECT_EQ(std::vector<std::string>{"The file to open, " + kProgram +
                                       "\\html\\gone.htm, was not found, so it is "
                                       "not in " +
                                       kOut +
                                       "\n\nThe CD-ROM will not start until you add gone.htm to "
                                       "that folder."},
              build.told);
    EXPECT_EQ(1u, build.toldBeforeAsking);
    EXPECT_EQ(1u, build.asked.size());
    EXPECT_EQ((std::set<std::string>{"autorun.inf", "COPY_ALL_TO_CDROM_ROOT.txt", "autorun.exe", "default.jpg",
                                     "default.wav"}),
              build.disk.FilesIn(kFolder));
    EXPECT_EQ("[autorun]\r\nOPEN=autorun.exe gone.htm 1 0 default.jpg default.wav\r\nICON=autorun.exe\r\n",
              build.disk.Content(kOut + "autorun.inf"));
}

TEST(BuilderRun, AFileThatCannotBeWrittenStopsTheBuildWithAMessage) {
    for (const std::string name : {"autorun.inf", "COPY_ALL_TO_CDROM_ROOT.txt"}) {
        SCOPED_TRACE(name);
        FakeBuild build;
        build.answerYes = true;
        build.files.unwritable.insert(kFolder + ".part\\" + name);
        EXPECT_EQ(vk::BuildOutcome::Stopped, vk::RunBuild(Defaults(), build));
        EXPECT_EQ(std::vector<std::string>{"There was a problem writing " + kOut + name +
                                           "\n\nPlease verify that no folder or read-only file of that name is in "
                                           "the way, that the file is not currently opened in another program, and "
                                           "that the disk is not full."},
                  build.told);
        EXPECT_TRUE(build.asked.empty());
        EXPECT_TRUE(build.preview.empty());
        EXPECT_FALSE(build.disk.Has(kOut + "autorun.exe"));
    }
}

} // namespace

// Each check made before anything is written: an error refuses the build with its message and
// leaves every file and folder as it was; a warning is asked about and refuses when declined.
TEST(BuilderRun, ChecksBeforeWritingRefuseOrWarnNamingTheFile) {
    const std::string html = kProgram + "\\html\\";
    const std::string longName = std::string(61, 'n') + ".gif"; // 65 characters
    struct Case {
        const char* what;
        std::function<void(FakeBuild&, vk::DiscSettings&, vk::BuildRequest&)> arrange;
        bool error;
        std::string message; // a part of the message
    } cases[] = {
        {"a linked name longer than Joliet's 64",
         [&](FakeBuild& b, vk::DiscSettings&, vk::BuildRequest&) {
             b.disk.Put(html + "next.htm", kMode + "<img src=" + longName + ">");
             b.disk.Put(html + longName, "long");
         },
         false,
         "The name " + longName + " is longer than the 64 characters of Joliet, so it is shortened to " +
             longName.substr(0, 58) + "~1.gif on systems that read only Joliet"},
        {"a target name longer than 64",
         [&](FakeBuild& b, vk::DiscSettings& s, vk::BuildRequest&) {
             const std::string name = std::string(60, 't') + ".html";
             b.disk.Put(html + name, kMode);
             s.m_strTarget = name;
             s.m_strTargetPath = "html\\" + name;
         },
         false,
         "is longer than the 64 characters of Joliet, so it is shortened to " + std::string(57, 't') + "~1.html"},
        {"a name longer than any disc holds",
         [&](FakeBuild& b, vk::DiscSettings&, vk::BuildRequest&) {
             b.disk.Put(html + "next.htm", kMode + "<img src=" + std::string(251, 'u') + ".gif>");
             b.disk.Put(html + std::string(251, 'u') + ".gif", "long");
         },
         true, "as " + std::string(251, 'u') + ".gif: the name is longer than a disc holds"},
        {"a character no disc holds",
         [&](FakeBuild& b, vk::DiscSettings&, vk::BuildRequest&) {
             b.disk.Put(html + "next.htm", kMode + "<img src=a;b.gif>");
             b.disk.Put(html + "a;b.gif", "semicolon");
         },
         true, "as a;b.gif: the name holds a character a disc cannot hold"},
        {"nine folder levels",
         [&](FakeBuild& b, vk::DiscSettings&, vk::BuildRequest&) {
             b.disk.Put(html + "next.htm", kMode + "<img src=1/2/3/4/5/6/7/8/deep.gif>");
             b.disk.Put(html + "1\\2\\3\\4\\5\\6\\7\\8\\deep.gif", "deep");
         },
         false, "The folder 1\\2\\3\\4\\5\\6\\7\\8 lies deeper than the 8 folder levels of ISO 9660 and Joliet"},
        {"more than a DVD",
         [&](FakeBuild& b, vk::DiscSettings&, vk::BuildRequest&) { b.files.sizes["photo.jpg"] = 4800000000ULL; }, true,
         "more than the 4700 MB a recordable DVD holds"},
        {"the image inside the output folder",
         [&](FakeBuild&, vk::DiscSettings&, vk::BuildRequest& r) { r.image = kOut + "disc.iso"; }, true,
         "The disc image " + kOut + "disc.iso would lie inside " + kOut},
        {"more than a CD",
         [&](FakeBuild& b, vk::DiscSettings&, vk::BuildRequest&) { b.files.sizes["photo.jpg"] = 800000000ULL; }, false,
         "The files for the CD-ROM take 800 MB, more than the 737 MB a CD-R holds, so they need a DVD."},
        {"a page without a document mode",
         [&](FakeBuild& b, vk::DiscSettings&, vk::BuildRequest&) {
             b.disk.Put(html + "next.htm", "<img src='photo.jpg'>");
         },
         false,
         "The page " + html +
             "next.htm declares no document mode (X-UA-Compatible), so the built-in viewer "
             "draws it in its oldest mode."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (bool accept : {false, true}) {
            FakeBuild build;
            build.acceptWarnings = accept;
            vk::DiscSettings s = Defaults();
            vk::BuildRequest request;
            c.arrange(build, s, request);
            const std::set<std::string> before = build.disk.AllFiles();

            const vk::BuildOutcome outcome = vk::RunBuild(s, build, request);

            const std::vector<std::string>& shown = c.error ? build.told : build.accepted;
            ASSERT_EQ(1u, shown.size());
            EXPECT_NE(std::string::npos, shown[0].find(c.message)) << shown[0];
            if (c.error || !accept) {
                EXPECT_EQ(vk::BuildOutcome::Refused, outcome);
                EXPECT_EQ(before, build.disk.AllFiles());
                EXPECT_FALSE(build.disk.FolderExists(kFolder));
                EXPECT_TRUE(build.asked.empty());
            } else {
                EXPECT_EQ(vk::BuildOutcome::Declined, outcome);
                EXPECT_TRUE(build.disk.Has(kOut + "autorun.exe"));
            }
            if (c.error) {
                EXPECT_TRUE(build.accepted.empty());
            }
        }
    }
}

TEST(BuilderRun, PagesShownByTheShellNeedNoDocumentMode) {
    FakeBuild build;
    build.disk.Put(kProgram + "\\html\\next.htm", "<img src='photo.jpg'>");
    vk::DiscSettings s = Defaults();
    s.m_bBrowser = false;
    EXPECT_EQ(vk::BuildOutcome::Declined, vk::RunBuild(s, build));
    EXPECT_TRUE(build.accepted.empty());
}

// A stylesheet is read for its links but is no page: it has no document mode to declare.
TEST(BuilderRun, StylesheetsNeedNoDocumentMode) {
    FakeBuild build;
    const std::string html = kProgram + "\\html\\";
    build.disk.Put(html + "next.htm", kMode + "<link rel=stylesheet href=css/site.css>");
    build.disk.Put(html + "css\\site.css", "body { background: url(../photo.jpg) }");
    EXPECT_EQ(vk::BuildOutcome::Declined, vk::RunBuild(Defaults(), build));
    EXPECT_TRUE(build.accepted.empty()) << build.accepted[0];
    EXPECT_TRUE(build.disk.Has(kOut + "css\\site.css"));
}

TEST(BuilderRun, TheImageIsWrittenAfterTheFolderOrItsFailureStopsTheBuild) {
    {
        FakeBuild build;
        vk::DiscSettings s = Defaults();
        s.m_bImage = true;
        EXPECT_EQ(vk::BuildOutcome::Declined, vk::RunBuild(s, build));
        // Written from the new folder before it takes its place, then put in the image's own.
        EXPECT_EQ((std::vector<std::vector<std::string>>{{kFolder + ".part", kFolder + ".iso", "1_DEMO_GENERAL_M"}}),
                  build.images);
        EXPECT_TRUE(build.disk.Has(kFolder + ".iso"));
        EXPECT_EQ((std::set<std::string>{"CD-ROM Distributable Files.iso"}), build.disk.FilesIn(kDesktop));
        EXPECT_EQ(1u, build.asked.size());
    }
    {
        FakeBuild build;
        build.disk.AddFolder("D:");
        vk::BuildRequest request{"D:\\cd", "D:\\disc.iso", "MY_DISC"};
        EXPECT_EQ(vk::BuildOutcome::Declined, vk::RunBuild(Defaults(), build, request));
        EXPECT_EQ((std::vector<std::vector<std::string>>{{"D:\\cd.part", "D:\\disc.iso", "MY_DISC"}}), build.images);
        EXPECT_TRUE(build.disk.Has("D:\\cd\\autorun.inf"));
        EXPECT_TRUE(build.disk.Has("D:\\disc.iso"));
        EXPECT_FALSE(build.disk.FolderExists(kFolder));
    }
    {
        // A failed image fails the build: the earlier folder and image stay as they were.
        FakeBuild build;
        vk::RunBuild(Defaults(), build);
        build.disk.Put(kDesktop + "\\disc.iso", OurImage("earlier"));
        const std::string earlier = build.disk.Content(kOut + "autorun.inf");
        build.imageError = kDesktop + "\\disc.iso.new: the disk is full.";
        build.told.clear();
        build.asked.clear();
        vk::DiscSettings s = Defaults();
        s.m_strTarget = "other.html";
        EXPECT_EQ(vk::BuildOutcome::Stopped, vk::RunBuild(s, build, {"", kDesktop + "\\disc.iso", ""}));
        EXPECT_EQ(std::vector<std::string>{"There was a problem writing the disc image: " + kDesktop +
                                           "\\disc.iso: the disk is full.\n\nNothing was changed: the earlier CD-ROM "
                                           "files and disc image, if any, are kept. Please check the disk and try "
                                           "again."},
                  build.told);
        EXPECT_TRUE(build.asked.empty());
        EXPECT_EQ(earlier, build.disk.Content(kOut + "autorun.inf"));
        EXPECT_EQ(OurImage("earlier"), build.disk.Content(kDesktop + "\\disc.iso"));
        EXPECT_EQ((std::set<std::string>{"disc.iso"}), build.disk.FilesIn(kDesktop));
        EXPECT_FALSE(build.disk.FolderExists(kFolder + ".part"));
    }
}

TEST(BuilderRun, AllErrorsInOneMessageOrAsManyAsTheHostShows) {
    for (size_t most : {SIZE_MAX, size_t(2)}) {
        FakeBuild build;
        build.most = most;
        std::string page = kMode;
        for (char c : std::string("abc")) {
            const std::string name = std::string(251, c) + ".gif";
            page += "<img src=" + name + ">";
            build.disk.Put(kProgram + "\\html\\" + name, "long");
        }
        build.disk.Put(kProgram + "\\html\\next.htm", page);
        EXPECT_EQ(vk::BuildOutcome::Refused, vk::RunBuild(Defaults(), build));
        ASSERT_EQ(1u, build.told.size());
        const std::string& told = build.told[0];
        EXPECT_NE(std::string::npos, told.find(std::string(251, 'a')));
        EXPECT_NE(std::string::npos, told.find(std::string(251, 'b')));
        EXPECT_EQ(most == 2, told.find(std::string(251, 'c')) == std::string::npos);
        EXPECT_EQ(most == 2, told.size() > 15 && told.compare(told.size() - 15, 15, "... and 1 more.") == 0) << told;
    }
}

namespace {

// What stands at the output folder's place decides how a build may take it: files no build
// wrote are asked about (kept on No, recycled with the folder on Yes); a folder that cannot be
// moved aside, or a disk too small, stops the build with the earlier disc as it was.
TEST(BuilderRun, TheEarlierFolderIsReplacedWholeOrLeftAsItWas) {
    {
        FakeBuild build;
        ASSERT_EQ(vk::BuildOutcome::Declined, vk::RunBuild(Defaults(), build));
        build.disk.Put(kOut + "notes\\mine.txt", "mine");
        build.asked.clear();
        EXPECT_EQ(vk::BuildOutcome::Refused, vk::RunBuild(Defaults(), build));
        EXPECT_EQ((std::vector<std::vector<std::string>>{{kFolder, "notes\\mine.txt"}}), build.foreignAsked);
        EXPECT_EQ("mine", build.disk.Content(kOut + "notes\\mine.txt"));
        EXPECT_TRUE(build.asked.empty());

        build.replaceForeign = true;
        EXPECT_EQ(vk::BuildOutcome::Declined, vk::RunBuild(Defaults(), build));
        EXPECT_EQ(std::vector<std::string>{kFolder + ".old"}, build.files.recycled);
        EXPECT_FALSE(build.disk.FolderExists(kOut + "notes"));
        EXPECT_FALSE(build.disk.FolderExists(kFolder + ".old"));
        EXPECT_TRUE(build.disk.Has(kOut + "autorun.exe"));
    }
    {
        // The earlier folder is in use: it stays, and nothing of the new one is left.
        FakeBuild build;
        ASSERT_EQ(vk::BuildOutcome::Declined, vk::RunBuild(Defaults(), build));
        const std::string inf = build.disk.Content(kOut + "autorun.inf");
        build.files.stuck.insert(kFolder);
        vk::DiscSettings s = Defaults();
        s.m_bSound = false;
        EXPECT_EQ(vk::BuildOutcome::Stopped, vk::RunBuild(s, build));
        ASSERT_EQ(1u, build.told.size());
        EXPECT_EQ(0u, build.told[0].find("There was a problem replacing the folder " + kFolder +
                                         " with the new CD-ROM files: the file is in use by another program."))
            << build.told[0];
        EXPECT_EQ(inf, build.disk.Content(kOut + "autorun.inf"));
        EXPECT_TRUE(build.disk.Has(kOut + "default.wav"));
        EXPECT_FALSE(build.disk.FolderExists(kFolder + ".part"));
    }
    {
        // Too little room: refused before anything is written.
        FakeBuild build;
        build.files.freeBytes = 10000;
        EXPECT_EQ(vk::BuildOutcome::Refused, vk::RunBuild(Defaults(), build));
        ASSERT_EQ(1u, build.told.size());
        EXPECT_EQ(0u, build.told[0].find("There is not enough free space in " + kDesktop + " for the CD-ROM files"))
            << build.told[0];
        EXPECT_FALSE(build.disk.FolderExists(kFolder));
        EXPECT_FALSE(build.disk.FolderExists(kFolder + ".part"));
    }
    {
        // A file in the folder's place is no folder to replace.
        FakeBuild build;
        build.disk.Put(kFolder, "a file of the user's");
        EXPECT_EQ(vk::BuildOutcome::Refused, vk::RunBuild(Defaults(), build));
        EXPECT_EQ(std::vector<std::string>{vk::OutputIsFileMessage(kFolder)}, build.told);
        EXPECT_EQ("a file of the user's", build.disk.Content(kFolder));
    }
}

} // namespace

namespace {

// Every file under the desktop, with its content: what a cancelled build must leave as it was.
std::map<std::string, std::string> DesktopState(const FakeBuild& build) {
    std::map<std::string, std::string> state;
    const std::string prefix = vk::Lower(kDesktop + "\\");
    for (const std::string& name : build.disk.AllFiles())
        if (vk::Lower(name).compare(0, prefix.size(), prefix) == 0)
            state[name] = build.disk.Content(name);
    return state;
}

} // namespace

// The reports of a build: pages counted as they are read, then files and bytes of the planned
// totals as they are written, each stage ending at its total.
TEST(BuilderRun, ProgressReachesItsTotals) {
    FakeBuild build;
    build.disk.Put(kProgram + "\\html\\photo.jpg", std::string(5000, 'p'));
    vk::DiscSettings s = Defaults();
    s.m_bImage = true;
    ASSERT_EQ(vk::BuildOutcome::Declined, vk::RunBuild(s, build));

    std::vector<vk::BuildProgress> reading, copying, imaging;
    for (const vk::BuildProgress& p : build.progress)
        (p.stage == vk::BuildStage::Reading   ? reading
         : p.stage == vk::BuildStage::Copying ? copying
                                              : imaging)
            .push_back(p);
    ASSERT_EQ(2u, reading.size());
    EXPECT_EQ(1u, reading[0].pages);
    EXPECT_EQ(2u, reading[1].pages);
    ASSERT_FALSE(copying.empty());
    const vk::BuildProgress& last = copying.back();
    // The start page, autorun.inf, the note, the program, splash, sound, and the three linked files.
    EXPECT_EQ(9u, last.filesTotal);
    EXPECT_EQ(last.filesTotal, last.files);
    EXPECT_EQ(1u, last.pagesTotal); // next.htm; the start page is the target's own copy
    EXPECT_EQ(last.pagesTotal, last.pages);
    EXPECT_EQ(last.bytesTotal, last.bytes);
    EXPECT_GT(last.bytesTotal, 5000u);
    for (size_t i = 1; i < copying.size(); ++i)
        EXPECT_LE(copying[i - 1].bytes, copying[i].bytes);
    ASSERT_FALSE(imaging.empty());
    EXPECT_EQ(imaging.back().bytesTotal, imaging.back().bytes);
    EXPECT_EQ(kFolder + ".iso", imaging.back().item);
}

// Cancel at any report of a rebuild, in any stage: the earlier folder and image are as they
// were, nothing is left beside them, and the user is told and asked nothing.
TEST(BuilderRun, CancelAtAnyMomentLeavesTheEarlierDisc) {
    FakeBuild build;
    vk::DiscSettings s = Defaults();
    s.m_bImage = true;
    ASSERT_EQ(vk::BuildOutcome::Declined, vk::RunBuild(s, build));
    const std::map<std::string, std::string> earlier = DesktopState(build);
    // The rebuild has more to do: a changed page and a new linked picture.
    build.disk.Put(kProgram + "\\html\\next.htm", kMode + "<img src='photo.jpg'><img src=new.gif>");
    build.disk.Put(kProgram + "\\html\\new.gif", "new");
    build.progress.clear();
    ASSERT_EQ(vk::BuildOutcome::Declined, vk::RunBuild(s, build));
    const size_t reports = build.progress.size();
    std::set<vk::BuildStage> stages;
    for (const vk::BuildProgress& p : build.progress)
        stages.insert(p.stage);
    EXPECT_EQ(4u, stages.size()); // surveying, reading, copying, imaging

    for (size_t at = 1; at <= reports; ++at) {
        SCOPED_TRACE("cancelled at report " + std::to_string(at));
        FakeBuild again;
        ASSERT_EQ(vk::BuildOutcome::Declined, vk::RunBuild(s, again));
        ASSERT_EQ(earlier, DesktopState(again));
        again.disk.Put(kProgram + "\\html\\next.htm", kMode + "<img src='photo.jpg'><img src=new.gif>");
        again.disk.Put(kProgram + "\\html\\new.gif", "new");
        again.progress.clear();
        again.asked.clear();
        again.cancelAt = at;
        EXPECT_EQ(vk::BuildOutcome::Cancelled, vk::RunBuild(s, again));
        EXPECT_EQ(earlier, DesktopState(again));
        EXPECT_FALSE(again.disk.FolderExists(kFolder + ".part"));
        EXPECT_FALSE(again.disk.FolderExists(kFolder + ".old"));
        EXPECT_TRUE(again.told.empty());
        EXPECT_TRUE(again.asked.empty());
        EXPECT_TRUE(again.files.recycled.empty());
    }
}

// The plan reads each page for its links, and the copy works from the plan: no page of the
// site is opened twice in a build, a rebuild or a build with its image.
TEST(BuilderRun, EachPageIsReadOnce) {
    FakeBuild build;
    build.disk.Put(kProgram + "\\html\\next.htm", kMode + "<img src='photo.jpg'><link rel=stylesheet href=s.css>");
    build.disk.Put(kProgram + "\\html\\s.css", "body { background: url(back.png) }");
    build.disk.Put(kProgram + "\\html\\back.png", "png");
    vk::DiscSettings s = Defaults();
    s.m_bImage = true;
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run ? "rebuild" : "first build");
        build.disk.opened.clear();
        ASSERT_EQ(vk::BuildOutcome::Declined, vk::RunBuild(s, build));
        for (const char* page : {"1_Demo_General_Menu.html", "next.htm", "s.css"})
            EXPECT_EQ(1, build.disk.opened[kProgram + "\\html\\" + page]) << page;
        EXPECT_TRUE(build.disk.Has(kOut + "back.png"));
    }
}

// A page that links to a file the build writes itself finds the build's file on the disc: the
// site's own autorun.exe or autorun.inf never replaces it, and is not listed as missing.
TEST(BuilderRun, LinksToTheBuildsOwnFilesKeepThem) {
    FakeBuild build;
    build.disk.Put(kProgram + "\\html\\next.htm", kMode + "<a href=autorun.exe>run</a><a href=autorun.inf>i</a>");
    build.disk.Put(kProgram + "\\html\\autorun.exe", "the site's own program");
    ASSERT_EQ(vk::BuildOutcome::Declined, vk::RunBuild(Defaults(), build));
    EXPECT_EQ("program", build.disk.Content(kOut + "autorun.exe"));
    EXPECT_EQ(0u, build.disk.Content(kOut + "autorun.inf").find("[autorun]"));
    EXPECT_TRUE(build.missing.Empty()) << ::testing::PrintToString(build.missing.Items());
}

namespace {

// A build whose image is written on a thread of its own, as the real hosts do: the image asks
// the listing for every file it lists and fails on one that will never be copied.
class ThreadedBuild : public FakeBuild {
public:
    std::vector<std::string> listed; // every file the image's listing gave, "/" between steps
    std::string vanishing;           // a source removed once the copy starts
    bool StartBeside(vk::BuildWork& work) override {
        m_thread = std::thread([&work] { work.Run(); });
        return true;
    }
    bool WaitBeside(unsigned) override {
        if (m_thread.joinable())
            m_thread.join();
        return true;
    }
    void Progress(const vk::BuildProgress& p) override {
        if (p.stage == vk::BuildStage::Copying && !vanishing.empty()) {
            disk.Remove(vanishing);
            vanishing.clear();
        }
        FakeBuild::Progress(p);
    }
    bool WriteImage(const std::string& folder, const std::string& file, const std::string& shown,
                    const std::string& label, vk::ImageProgress& progress, vk::ImageListing* listing,
                    std::string& error) override {
        if (listing && !Walk(*listing, "", error))
            return false;
        return FakeBuild::WriteImage(folder, file, shown, label, progress, nullptr, error);
    }

private:
    bool Walk(vk::ImageListing& listing, const std::string& folder, std::string& error) {
        std::vector<vk::DiscItem> items;
        if (!listing.List(folder, items, error))
            return false;
        for (const vk::DiscItem& item : items) {
            const std::string path = folder.empty() ? item.name : folder + "/" + item.name;
            if (item.folder) {
                if (!Walk(listing, path, error))
                    return false;
                continue;
            }
            vk::ImageListing::State state;
            while ((state = listing.FileState(path)) == vk::ImageListing::State::Waiting)
                std::this_thread::yield();
            if (state == vk::ImageListing::State::Never) {
                error = path + ": it was not copied.";
                return false;
            }
            listed.push_back(path);
        }
        return true;
    }
    std::thread m_thread;
};

} // namespace

// The image beside the copy lists exactly the disc the copy writes, each file once it is
// whole; a file gone between the plan and its copy is listed as missing and the image is
// written again from the folder as it is.
TEST(BuilderRun, TheImageBesideTheCopyListsTheDiscOrIsWrittenAgain) {
    {
        ThreadedBuild build;
        build.disk.Put(kProgram + "\\html\\next.htm", kMode + "<img src='photo.jpg'><img src='pics/a.gif'>");
        build.disk.Put(kProgram + "\\html\\pics\\a.gif", "a");
        vk::DiscSettings s = Defaults();
        s.m_bImage = true;
        ASSERT_EQ(vk::BuildOutcome::Declined, vk::RunBuild(s, build));
        std::set<std::string> listed(build.listed.begin(), build.listed.end());
        EXPECT_EQ((std::set<std::string>{"1_Demo_General_Menu.html", "autorun.inf", "COPY_ALL_TO_CDROM_ROOT.txt",
                                         "autorun.exe", "default.jpg", "default.wav", "logo.gif", "next.htm",
                                         "photo.jpg", "pics/a.gif"}),
                  listed);
        EXPECT_EQ(1u, build.images.size());
        EXPECT_TRUE(build.disk.Has(kFolder + ".iso"));
    }
    {
        ThreadedBuild build;
        build.vanishing = kProgram + "\\html\\photo.jpg";
        vk::DiscSettings s = Defaults();
        s.m_bImage = true;
        ASSERT_EQ(vk::BuildOutcome::Declined, vk::RunBuild(s, build));
        EXPECT_EQ((std::vector<vk::MissingFile>{{kProgram + "\\html\\photo.jpg", vk::MissingReason::Absent}}),
                  build.missing.Items());
        EXPECT_EQ(1u, build.images.size()); // the image beside failed before writing; then once from the folder
        EXPECT_TRUE(build.disk.Has(kFolder + ".iso"));
        EXPECT_FALSE(build.disk.Has(kOut + "photo.jpg"));
        EXPECT_TRUE(build.told.empty()) << ::testing::PrintToString(build.told);
    }
}
