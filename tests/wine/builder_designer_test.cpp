// Create CD driven from outside, as a user would: the real program in designer mode beside
// its sample folders, the desktop folder it builds, its messages and its preview.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <map>
#include <set>

#include "centred.h"
#include "designer/missing_files_ids.h"
#include "designer/designer_ids.h"
#include "controls/wait_ids.h"
#include "harness.h"

using namespace vt;

namespace {

constexpr DWORD kWait = 20000;
const char* kFolderName = "CD-ROM Distributable Files";
// Pages that name their document mode, so that Create CD has no warning about them.
const std::string kMode = "<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">";

std::string DesktopFolder() {
    char path[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOP, FALSE);
    return path;
}

std::string ReadFile(const std::string& path) {
    HANDLE f = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return "<none>";
    std::string bytes;
    char buf[4096];
    DWORD got = 0;
    while (::ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0)
        bytes.append(buf, got);
    CloseHandle(f);
    return bytes;
}

void SetText(HWND dlg, int id, const std::string& text) {
    SendMessageTimeoutA(GetDlgItem(dlg, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                        5000, nullptr);
}

// The program installed in a folder of the test's own with its sample folders, the desktop
// output folder cleared, and the designer started there. `prepare` may change the sample
// folders first.
struct Designer {
    Sandbox box;
    std::string desktop = DesktopFolder();
    std::string out = desktop + "\\" + kFolderName;
    std::unique_ptr<Process> process;
    HWND dlg = nullptr;

    void Start() {
        process = std::make_unique<Process>(box.CopyVintrosk(), "design", box.Dir());
        dlg = WaitWindow(*process, "Vintrosk!", "#32770", kWait);
        ASSERT_TRUE(dlg) << DescribeWindows(*process);
    }
    Designer() {
        RemoveTree(out);
        CopyTree(WinPath(VT_SAMPLES_DIR), box.Dir());
    }
    ~Designer() { RemoveTree(out); }

    // Waits for the next message box, checks its caption, presses `answer` and waits for the
    // box to go; returns its text.
    std::string Answer(int answer) {
        HWND box = WaitMessageBox(*process, kWait);
        if (!box) {
            ADD_FAILURE() << "no message box\n" << DescribeWindows(*process);
            return "";
        }
        EXPECT_EQ("Vintrosk!", Title(box));
        const std::string text = MessageBoxText(box);
        Press(box, answer);
        EXPECT_TRUE(WaitGone(box, kWait));
        return text;
    }
    // Presses Create CD and answers the first message box.
    std::string CreateCd(int answer) {
        Press(dlg, IDOK);
        return Answer(answer);
    }
    std::set<std::string> SampleSite() const { return FilesIn(box.Path("html")); }
    // Proves that no build is running or waiting to ask: the next Create CD is refused at once
    // for the space in its name, and that refusal is the next message.
    void ExpectIdle() {
        SetText(dlg, IDC_TARGET_NAME, "idle probe.htm");
        Press(dlg, IDOK);
        EXPECT_EQ(0u, Answer(IDOK).find("The filename can not contain any spaces.")) << "another build was pending";
    }
};

// Points the user's desktop at a folder that does not exist while the object lives.
class DesktopGone {
public:
    DesktopGone() : desktop_("Desktop", "C:\\vt-no-such-desktop") {}

private:
    UserShellFolder desktop_;
};

// The lines of the missing-files dialog's list.
std::vector<std::string> MissingItems(HWND missing) {
    HWND list = GetDlgItem(missing, IDC_MISSING_FILES_LIST);
    std::vector<std::string> items;
    DWORD_PTR count = 0;
    SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
    for (DWORD_PTR i = 0; i < count; ++i) {
        // Asked for in UTF-16: Wine hands another process's ANSI request wide text.
        wchar_t text[512] = {};
        SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
        items.push_back(Utf8(text));
    }
    return items;
}

const std::string kQuestionStart = "Your files have been created and placed in ";

std::string Question(const std::string& out) {
    return kQuestionStart + out +
           "\\\n\nSimply burn the included files, and all images used within those files (such as HTML graphics), "
           "to your CD-ROM root directory for auto-play.\n\nWould you like to preview your CD-ROM Auto-Play now?";
}

TEST(BuilderDesigner, TargetNameWithASpaceIsRefusedAndTouchesNothing) {
    Designer d;
    d.Start();
    SetText(d.dlg, IDC_TARGET_NAME, "my page.html");
    Press(d.dlg, IDOK);
    EXPECT_EQ("The filename can not contain any spaces. Spaces in filenames can cause problems when burning on a "
              "CD-ROM.\nPlease rename the file or select a new one.",
              d.Answer(IDOK));
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    ASSERT_TRUE(WaitUntil(
        [&] { return GetGUIThreadInfo(GetWindowThreadProcessId(d.dlg, nullptr), &gui) && gui.hwndFocus; }, kWait));
    EXPECT_EQ(GetDlgItem(d.dlg, IDC_TARGET_NAME), gui.hwndFocus);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(d.out.c_str()));
}

TEST(BuilderDesigner, DefaultsBuildTheSampleDiscAndASecondBuildStartsAfresh) {
    Designer d;
    d.Start();
    Press(d.dlg, IDOK);
    ASSERT_TRUE(WaitMessageBox(*d.process, kWait));

    std::set<std::string> expected = d.SampleSite();
    expected.insert({"autorun.inf", "COPY_ALL_TO_CDROM_ROOT.txt", "autorun.exe", "default.jpg", "default.wav"});
    EXPECT_EQ(expected, FilesIn(d.out));
    EXPECT_EQ(
        "[autorun]\r\nOPEN=autorun.exe 1_Demo_General_Menu.html 1 0 default.jpg default.wav\r\nICON=autorun.exe\r\n",
        ReadFile(d.out + "\\autorun.inf"));
    EXPECT_EQ("Copy all the included files to your CD-ROM root directory to enable CD Auto-Play.\r\n"
              "It is safe to erase this file.\r\n",
              ReadFile(d.out + "\\COPY_ALL_TO_CDROM_ROOT.txt"));
    EXPECT_EQ(ReadFile(d.box.Path("Vintrosk.exe")), ReadFile(d.out + "\\autorun.exe"));
    for (const std::string& name : d.SampleSite())
        EXPECT_EQ(ReadFile(d.box.Path("html\\" + name)), ReadFile(d.out + "\\" + name)) << name;
    EXPECT_EQ(ReadFile(d.box.Path("splashscreens\\default.jpg")), ReadFile(d.out + "\\default.jpg"));
    EXPECT_EQ(ReadFile(d.box.Path("sounds\\default.wav")), ReadFile(d.out + "\\default.wav"));
    Screenshot("question");
    EXPECT_EQ(Question(d.out), d.Answer(IDNO));
    EXPECT_FALSE(IsIconic(d.dlg));

    // Without the sound and with a page of its own, nothing of the first build is left.
    SendMessageTimeoutA(GetDlgItem(d.dlg, IDC_SOUND_OPTION), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    SetText(d.dlg, IDC_TARGET_NAME, "\\");
    Press(d.dlg, IDOK);
    ASSERT_TRUE(WaitMessageBox(*d.process, kWait));
    expected.erase("default.wav");
    // The remembered page is still scanned; it comes back through its own pages' links to it.
    EXPECT_EQ(expected, FilesIn(d.out));
    EXPECT_EQ("[autorun]\r\nOPEN=autorun.exe \\ 1 0 default.jpg\r\nICON=autorun.exe\r\n",
              ReadFile(d.out + "\\autorun.inf"));
    EXPECT_EQ(Question(d.out), d.Answer(IDNO));
}

// A folder in the way that no build made: the user is asked, naming its files; No keeps every
// file, Yes builds and sends the old folder, with them, to the Recycle Bin.
TEST(BuilderDesigner, FilesNoBuildWroteAreAskedAboutAndRecycled) {
    Designer d;
    CreateDirectoryA(d.out.c_str(), nullptr);
    CreateDirectoryA((d.out + "\\keep").c_str(), nullptr);
    CopyFileA(d.box.Path("html\\readme.txt").c_str(), (d.out + "\\keep\\kept.txt").c_str(), FALSE);
    CopyFileA(d.box.Path("html\\readme.txt").c_str(), (d.out + "\\stale.txt").c_str(), FALSE);
    d.Start();
    const std::string asked = d.CreateCd(IDNO);
    EXPECT_EQ(0u, asked.find("The folder " + d.out + " holds files that Create CD did not make:\n")) << asked;
    EXPECT_NE(std::string::npos, asked.find("\n    keep\\kept.txt")) << asked;
    EXPECT_NE(std::string::npos, asked.find("\n    stale.txt")) << asked;
    EXPECT_NE(std::string::npos, asked.find("Recycle Bin")) << asked;
    d.ExpectIdle();
    EXPECT_EQ((std::set<std::string>{"stale.txt"}), FilesIn(d.out));
    EXPECT_EQ(std::set<std::string>{"kept.txt"}, FilesIn(d.out + "\\keep"));

    SetText(d.dlg, IDC_TARGET_NAME, "1_Demo_General_Menu.html");
    EXPECT_EQ(asked, d.CreateCd(IDYES));
    EXPECT_EQ(Question(d.out), d.Answer(IDNO));
    EXPECT_FALSE(FilesIn(d.out).count("stale.txt"));
    EXPECT_TRUE(FilesIn(d.out).count("autorun.exe"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((d.out + "\\keep").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((d.out + ".old").c_str()));
}

TEST(BuilderDesigner, AMissingSplashImageStopsAfterTheProgram) {
    Designer d;
    DeleteFileA(d.box.Path("splashscreens\\default.jpg").c_str());
    d.Start();
    EXPECT_EQ("There was a problem copying splashscreens/default.jpg to " + d.out +
                  "\\default.jpg\n\nPlease verify the file actually exists and is not currently opened in another "
                  "program.",
              d.CreateCd(IDOK));
    d.ExpectIdle();
    // A failed build leaves no part of a disc behind.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(d.out.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((d.out + ".part").c_str()));
}

TEST(BuilderDesigner, SplashWithoutANameAndASoundNameWithASpace) {
    Designer d;
    d.Start();
    SetText(d.dlg, IDC_SPLASH_NAME, "");
    SetText(d.dlg, IDC_SOUND_NAME, "intro music.wav");
    Press(d.dlg, IDOK);
    ASSERT_TRUE(WaitMessageBox(*d.process, kWait));
    const std::set<std::string> files = FilesIn(d.out);
    EXPECT_FALSE(files.count("default.jpg"));
    EXPECT_FALSE(files.count("default.wav"));
    EXPECT_EQ(ReadFile(d.box.Path("sounds\\default.wav")), ReadFile(d.out + "\\intro_music.wav"));
    EXPECT_EQ("[autorun]\r\nOPEN=autorun.exe 1_Demo_General_Menu.html 1 0 intro_music.wav\r\nICON=autorun.exe\r\n",
              ReadFile(d.out + "\\autorun.inf"));
    EXPECT_EQ(Question(d.out), d.Answer(IDNO));
}

TEST(BuilderDesigner, YesStartsThePreviewInTheOutputFolder) {
    Designer d;
    d.Start();
    SendMessageTimeoutA(GetDlgItem(d.dlg, IDC_WINDOW_SIZE), CB_SETCURSEL, 2, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    Press(d.dlg, IDOK);
    ASSERT_TRUE(WaitMessageBox(*d.process, kWait));
    // The preview is whatever autorun.exe the folder holds: a recorder tells how it started.
    ASSERT_TRUE(CopyFileA(RecorderExe().c_str(), (d.out + "\\autorun.exe").c_str(), FALSE));
    EXPECT_EQ(Question(d.out), d.Answer(IDYES));
    ASSERT_TRUE(WaitRecords(d.out + "\\recorded.txt", 1, kWait));
    const Record r = ReadRecords(d.out + "\\recorded.txt")[0];
    EXPECT_EQ("autorun.exe", r.module);
    const std::string args = " 1_Demo_General_Menu.html 1 2 default.jpg default.wav";
    EXPECT_EQ(args, r.commandLine.substr(r.commandLine.size() - std::min(r.commandLine.size(), args.size())))
        << r.commandLine;
    EXPECT_STRCASEEQ(d.out.c_str(), r.workDir.c_str());
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(d.dlg) != FALSE; }, kWait));
}

// The whole way, as the demo shows it: the designer with its defaults, Create CD, Yes, and the
// new autorun.exe playing the disc from the folder: splash, then the sample page in the viewer.
TEST(BuilderDesigner, YesPlaysTheNewDisc) {
    Designer d;
    d.Start();
    Screenshot("1-designer");
    Press(d.dlg, IDOK);
    ASSERT_TRUE(WaitMessageBox(*d.process, kWait));
    Screenshot("2-question");
    EXPECT_EQ(Question(d.out), d.Answer(IDYES));
    Started launcher("autorun.exe");
    ASSERT_TRUE(launcher.Found());
    EXPECT_TRUE(launcher.WaitWindow(IsCaptionlessPopup, kWait));
    Screenshot("3-splash");
    HWND viewer =
        launcher.WaitWindow([](HWND w) { return (GetWindowLongA(w, GWL_STYLE) & WS_THICKFRAME) != 0; }, kWait);
    ASSERT_TRUE(viewer);
    Screenshot("4-viewer");
    PostMessageA(viewer, WM_SYSCOMMAND, SC_CLOSE, 0);
    // Closing the viewer ends the launcher, once its start-up sound has played.
    EXPECT_TRUE(launcher.WaitExit(kWait));
}

TEST(BuilderDesigner, MissingLinkedFilesAreListedAndNothingIsWrittenBesideTheFolder) {
    Designer d;
    d.box.Write("html\\1_Demo_General_Menu.html",
                kMode + "<img src=logo.gif><img src=\"gone.gif\"><a href=\"../escape.htm\">x</a><img src='..\\up.gif'>"
                        "<a href=\"{windows}\\notepad.exe\">n</a><img src=gone.gif>");
    d.box.Write("escape.htm", "<img src=logo.gif>");
    d.box.Write("up.gif", "outside");
    d.Start();
    Press(d.dlg, IDOK);
    HWND missing = WaitWindow(*d.process, "Vintrosk! - Linked Web Page Files Not found", "#32770", kWait);
    ASSERT_TRUE(missing) << DescribeWindows(*d.process);
    EXPECT_EQ(d.dlg, GetWindow(missing, GW_OWNER));
    EXPECT_EQ("", OffCentre(missing, RectOf(d.dlg)));
    // A file outside the site is listed where it lies, not by the steps that led there.
    EXPECT_EQ((std::vector<std::string>{"html\\gone.gif (not found)", "escape.htm (outside the site)",
                                        "up.gif (outside the site)", "html\\{windows}\\notepad.exe (not found)"}),
              MissingItems(missing));
    Screenshot("missing");
    Press(missing, IDOK);
    EXPECT_EQ(Question(d.out), d.Answer(IDNO));
    EXPECT_TRUE(FilesIn(d.out).count("logo.gif"));
    EXPECT_FALSE(FilesIn(d.desktop).count("escape.htm"));
    EXPECT_FALSE(FilesIn(d.desktop).count("up.gif"));
}

TEST(BuilderDesigner, CreateCdCannotStartAgainWhileAScanRuns) {
    Designer d;
    // A chain of pages keeps the scan busy for a few seconds.
    const int kPages = 30;
    d.box.Write("html\\1_Demo_General_Menu.html", kMode + "<a href=p1.htm>next</a>");
    for (int i = 1; i <= kPages; ++i)
        d.box.Write("html\\p" + std::to_string(i) + ".htm",
                    kMode + "<a href=p" + std::to_string(i + 1) + ".htm>next</a>");
    d.Start();
    Press(d.dlg, IDOK);
    HWND wait = WaitWindow(*d.process, "Please wait ..", "#32770", kWait);
    ASSERT_TRUE(wait) << DescribeWindows(*d.process);
    EXPECT_EQ("Reading linked objects:", ItemText(wait, IDC_WAIT_LABEL));
    // The window may show a moment before the first page's name and the disabled designer.
    EXPECT_TRUE(WaitUntil([&] { return ItemText(wait, IDC_WAIT_TEXT).find(".htm") != std::string::npos; }, kWait))
        << ItemText(wait, IDC_WAIT_TEXT);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(d.dlg); }, kWait));
    Screenshot("scanning");
    for (int i = 0; i < 3; ++i)
        Press(d.dlg, IDOK);
    // The one linked page that does not exist is listed when the scan ends, and only then.
    HWND missing = WaitWindow(*d.process, "Vintrosk! - Linked Web Page Files Not found", "#32770", kWait);
    ASSERT_TRUE(missing) << DescribeWindows(*d.process);
    EXPECT_FALSE(WaitMessageBox(*d.process, 0));
    Press(missing, IDOK);
    HWND box = WaitMessageBox(*d.process, kWait);
    ASSERT_TRUE(box);
    EXPECT_FALSE(IsWindow(wait));
    EXPECT_EQ(Question(d.out), MessageBoxText(box));
    Press(box, IDNO);
    EXPECT_TRUE(WaitGone(box, kWait));
    EXPECT_TRUE(IsWindowEnabled(d.dlg));
    d.ExpectIdle();
    // The target, autorun.inf, the note, autorun.exe, the splash image, the sound and the pages.
    EXPECT_EQ(static_cast<size_t>(6 + kPages), FilesIn(d.out).size());
}

TEST(BuilderDesigner, NoDesktopFolderMeansAClearMessageAndNoBuild) {
    Designer d;
    DesktopGone gone;
    d.Start();
    EXPECT_EQ("Your desktop folder could not be found, so the CD-ROM files were not created.\n\nPlease check that your "
              "user profile has a desktop folder.",
              d.CreateCd(IDOK));
    d.ExpectIdle();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\vt-no-such-desktop"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(d.out.c_str()));
}

// Every file under a folder, by relative path, with its bytes: read before and after a refusal.
std::map<std::string, std::string> Tree(const std::string& dir, const std::string& prefix = "") {
    std::map<std::string, std::string> files;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return files;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            for (const auto& file : Tree(dir + "\\" + name, prefix + name + "\\"))
                files.insert(file);
        } else {
            files[prefix + name] = ReadFile(dir + "\\" + name);
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return files;
}

std::string Reserved(const std::string& role, const std::string& name) {
    return "The " + role + " " + name +
           " has the name of a file that Create CD writes itself (autorun.exe, autorun.inf or "
           "COPY_ALL_TO_CDROM_ROOT.txt), so it would replace that file on the CD-ROM.\n\nPlease rename the file or "
           "select a new one.";
}

std::string Inside(const std::string& role, const std::string& path, const std::string& out) {
    return "The " + role + " " + path + " lies inside " + out +
           ", which Create CD empties before it copies anything, so the file would be lost.\n\nPlease move it out of "
           "that folder or select another file.";
}

const char* kSelectFile = "Select the File to Auto-Play on CD-ROM";
const char* kSelectImage = "Select an Image to Display in CD-ROM Splash Screen";
const char* kSelectIcon = "Select an Icon for Your CD-ROM";

// Picked files that Create CD would lose or that would replace a file it writes itself: a clear
// message, no question after it, and every file of the user's and of the last build intact.
TEST(BuilderDesigner, PickedFilesThatWouldBeLostOrReplacedAreRefused) {
    const struct {
        const char* name;
        void (*prepare)(Designer&);
        std::string (*message)(const Designer&);
    } cases[] = {
        {"a program called autorun.exe as the file to open",
         [](Designer& d) {
             d.box.Write("html\\autorun.exe", "the user's own program");
             PickFile(*d.process, d.dlg, IDC_SELECT_FILE, kSelectFile, "autorun.exe");
         },
         [](const Designer&) { return Reserved("file to open", "autorun.exe"); }},
        {"the file to open renamed AutoRun.EXE", [](Designer& d) { SetText(d.dlg, IDC_TARGET_NAME, "AutoRun.EXE"); },
         [](const Designer&) { return Reserved("file to open", "AutoRun.EXE"); }},
        {"the file to open renamed autorun.inf", [](Designer& d) { SetText(d.dlg, IDC_TARGET_NAME, "autorun.inf"); },
         [](const Designer&) { return Reserved("file to open", "autorun.inf"); }},
        {"the file to open renamed like the note",
         [](Designer& d) { SetText(d.dlg, IDC_TARGET_NAME, "Copy_All_To_CDROM_Root.TXT"); },
         [](const Designer&) { return Reserved("file to open", "Copy_All_To_CDROM_Root.TXT"); }},
        {"an icon from a program called AUTORUN.EXE",
         [](Designer& d) {
             d.box.Write("icons\\AUTORUN.EXE", "another program");
             PickFile(*d.process, d.dlg, IDC_SELECT_ICON, kSelectIcon, "AUTORUN.EXE");
         },
         [](const Designer&) { return Reserved("icon file", "AUTORUN.EXE"); }},
        {"an icon from a program called Autorun.exe",
         [](Designer& d) {
             d.box.Write("icons\\Autorun.exe", "another program");
             PickFile(*d.process, d.dlg, IDC_SELECT_ICON, kSelectIcon, "Autorun.exe");
         },
         [](const Designer&) { return Reserved("icon file", "Autorun.exe"); }},
        {"a page inside the output folder as the file to open",
         [](Designer& d) {
             CreateDirectoryA(d.out.c_str(), nullptr);
             CopyFileA(d.box.Path("html\\1_Demo_General_Menu.html").c_str(), (d.out + "\\mine.html").c_str(), FALSE);
             PickFile(*d.process, d.dlg, IDC_SELECT_FILE, kSelectFile, (d.out + "\\mine.html").c_str());
         },
         [](const Designer& d) { return Inside("file to open", d.out + "\\mine.html", d.out); }},
        {"a splash image inside the output folder",
         [](Designer& d) {
             CreateDirectoryA(d.out.c_str(), nullptr);
             CopyFileA(d.box.Path("splashscreens\\default.jpg").c_str(), (d.out + "\\logo.jpg").c_str(), FALSE);
             PickFile(*d.process, d.dlg, IDC_SELECT_IMAGE, kSelectImage, (d.out + "\\logo.jpg").c_str());
         },
         [](const Designer& d) { return Inside("splash image", d.out + "\\logo.jpg", d.out); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Designer d;
        d.Start();
        c.prepare(d);
        const auto program = Tree(d.box.Dir());
        const auto output = Tree(d.out);
        Press(d.dlg, IDOK);
        EXPECT_EQ(c.message(d), d.Answer(IDOK));
        d.ExpectIdle(); // no question was waiting behind the message
        EXPECT_EQ(program, Tree(d.box.Dir()));
        EXPECT_EQ(output, Tree(d.out));
        Press(d.dlg, IDCANCEL);
        EXPECT_TRUE(d.process->WaitExit(kWait));
    }
}

TEST(BuilderDesigner, AFileToOpenThatIsGoneIsLeftOutWithAWarning) {
    Designer d;
    d.box.Write("html\\moved.html", kMode + "<img src=logo.gif>");
    d.Start();
    PickFile(*d.process, d.dlg, IDC_SELECT_FILE, kSelectFile, "moved.html");
    DeleteFileA(d.box.Path("html\\moved.html").c_str());
    EXPECT_EQ("The file to open, " + d.box.Path("html\\moved.html") + ", was not found, so it is not in " + d.out +
                  "\\\n\nThe CD-ROM will not start until you add moved.html to that folder.",
              d.CreateCd(IDOK));
    EXPECT_EQ(Question(d.out), d.Answer(IDNO));
    EXPECT_FALSE(FilesIn(d.out).count("moved.html"));
    EXPECT_EQ("[autorun]\r\nOPEN=autorun.exe moved.html 1 0 default.jpg default.wav\r\nICON=autorun.exe\r\n",
              ReadFile(d.out + "\\autorun.inf"));
}

TEST(BuilderDesigner, AFolderOfAutorunInfIsTheUsersAndKept) {
    Designer d;
    // A folder of that name, with the user's file in it, makes no earlier build.
    CreateDirectoryA(d.out.c_str(), nullptr);
    CreateDirectoryA((d.out + "\\autorun.inf").c_str(), nullptr);
    CopyFileA(d.box.Path("html\\readme.txt").c_str(), (d.out + "\\autorun.inf\\kept.txt").c_str(), FALSE);
    d.Start();
    EXPECT_NE(std::string::npos, d.CreateCd(IDNO).find("\n    autorun.inf\\kept.txt"));
    d.ExpectIdle();
    EXPECT_EQ(ReadFile(d.box.Path("html\\readme.txt")), ReadFile(d.out + "\\autorun.inf\\kept.txt"));
}

TEST(BuilderDesigner, ReadOnlyFilesOfAnEarlierBuildAreReplaced) {
    Designer d;
    d.Start();
    EXPECT_EQ(Question(d.out), d.CreateCd(IDNO));
    const std::string inf = d.out + "\\autorun.inf";
    for (const char* name : {"autorun.inf", "autorun.exe", "logo.gif"})
        SetFileAttributesA((d.out + "\\" + name).c_str(), FILE_ATTRIBUTE_READONLY);
    SendMessageTimeoutA(GetDlgItem(d.dlg, IDC_SOUND_OPTION), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    EXPECT_EQ(Question(d.out), d.CreateCd(IDNO));
    EXPECT_EQ("[autorun]\r\nOPEN=autorun.exe 1_Demo_General_Menu.html 1 0 default.jpg\r\nICON=autorun.exe\r\n",
              ReadFile(inf));
    EXPECT_FALSE(FilesIn(d.out).count("default.wav"));
}

// Links from the site's root and steps that stay inside the page's folder are copied; links that
// leave it or name a drive are listed and written nowhere.
TEST(BuilderDesigner, RootAndInsideLinksAreCopiedAndEscapingOnesListed) {
    Designer d;
    d.box.Write("html\\1_Demo_General_Menu.html",
                kMode + "<img src=\"/root.gif\"><img src='img\\..\\inside.gif'><img src='..\\escape.gif'>"
                        "<img src=\"C:\\vt_drive.gif\">");
    d.box.Write("html\\root.gif", "root");
    d.box.Write("html\\inside.gif", "inside");
    d.box.Write("escape.gif", "outside");
    CopyFileA(d.box.Path("escape.gif").c_str(), "C:\\vt_drive.gif", FALSE);
    d.Start();
    Press(d.dlg, IDOK);
    HWND missing = WaitWindow(*d.process, "Vintrosk! - Linked Web Page Files Not found", "#32770", kWait);
    ASSERT_TRUE(missing) << DescribeWindows(*d.process);
    EXPECT_EQ((std::vector<std::string>{"escape.gif (outside the site)", "C:\\vt_drive.gif (outside the site)"}),
              MissingItems(missing));
    Press(missing, IDOK);
    EXPECT_EQ(Question(d.out), d.Answer(IDNO));
    EXPECT_EQ("root", ReadFile(d.out + "\\root.gif"));
    EXPECT_EQ("inside", ReadFile(d.out + "\\inside.gif"));
    const std::set<std::string> files = FilesIn(d.out);
    EXPECT_FALSE(files.count("escape.gif"));
    EXPECT_FALSE(files.count("vt_drive.gif"));
    EXPECT_FALSE(FilesIn(d.desktop).count("escape.gif"));
    EXPECT_EQ("outside", ReadFile("C:\\vt_drive.gif"));
    DeleteFileA("C:\\vt_drive.gif");
}

// A site whose pages, pictures and target carry Greek, Japanese and accented Latin names:
// UTF-8 pages, one legacy page in the ANSI code page and one with percent-escapes. Every file
// lands under its own name, and autorun.inf, which cannot name the target in the code page,
// is written in UTF-16.
TEST(BuilderDesigner, ASiteWithNamesInAnyLanguageGoesOnTheDiscWhole) {
    Designer d;
    const std::string target = "Κεντρικό_μενού.html";
    d.box.Write("html\\" + target,
                "<html><head>" + kMode +
                    "<meta charset=\"utf-8\"></head><body><img src=\"写真.jpg\"><img src='café.gif'>"
                    "<a href=\"legacy.htm\">old</a><a href=\"escaped.htm\">escaped</a><img src=\"λείπει.gif\">"
                    "</body></html>");
    d.box.Write("html\\写真.jpg", "photo");
    d.box.Write("html\\café.gif", "cafe");
    d.box.Write("html\\legacy.htm", kMode + "<html><body><img src=\"na\xEFve.gif\"></body></html>"); // Windows-1252
    d.box.Write("html\\naïve.gif", "naive");
    d.box.Write("html\\escaped.htm", kMode + "<img src=\"%CE%B1%CE%B2.gif\"><img src=\"caf%C3%A9_2.gif\">");
    d.box.Write("html\\αβ.gif", "alpha beta");
    d.box.Write("html\\café_2.gif", "cafe 2");
    d.Start();
    PickFile(*d.process, d.dlg, IDC_SELECT_FILE, "Select the File to Auto-Play on CD-ROM", target.c_str());
    EXPECT_EQ(target, ItemText(d.dlg, IDC_TARGET_NAME));
    Press(d.dlg, IDOK);
    // The one picture that is not there is listed under its own name.
    HWND missing = WaitWindow(*d.process, "Vintrosk! - Linked Web Page Files Not found", "#32770", kWait);
    ASSERT_TRUE(missing) << DescribeWindows(*d.process);
    EXPECT_EQ(std::vector<std::string>{d.box.Path("html\\λείπει.gif") + " (not found)"}, MissingItems(missing));
    Press(missing, IDOK);
    EXPECT_EQ(Question(d.out), d.Answer(IDNO));

    const std::set<std::string> files = FilesIn(d.out);
    for (const char* name : {"Κεντρικό_μενού.html", "写真.jpg", "café.gif", "legacy.htm", "naïve.gif", "escaped.htm",
                             "αβ.gif", "café_2.gif", "autorun.inf", "autorun.exe", "default.jpg", "default.wav"})
        EXPECT_TRUE(files.count(name)) << name;
    EXPECT_EQ("photo", ReadFile(d.out + "\\写真.jpg"));
    EXPECT_EQ("naive", ReadFile(d.out + "\\naïve.gif"));
    const std::string inf = ReadFile(d.out + "\\autorun.inf");
    ASSERT_GE(inf.size(), 2u);
    EXPECT_EQ("\xFF\xFE", inf.substr(0, 2)) << "a byte-order mark: UTF-16, little-endian";
    EXPECT_EQ("[autorun]\r\nOPEN=autorun.exe " + target + " 1 0 default.jpg default.wav\r\nICON=autorun.exe\r\n",
              Utf8(std::wstring(reinterpret_cast<const wchar_t*>(inf.data() + 2), (inf.size() - 2) / 2)));
}

} // namespace

// The checks before writing, in the real designer: an error is one message and nothing is
// written; a warning asks, No leaves everything as it was and Yes builds.
TEST(BuilderDesigner, ChecksBeforeWritingStopOrAskAndWriteNothingUntilAccepted) {
    Designer d;
    const std::string tooLong = std::string(251, 'n') + ".gif";
    d.box.Write("html\\1_Demo_General_Menu.html", kMode + "<img src=\"" + tooLong + "\">");
    d.box.Write("html\\" + tooLong, "long");
    d.Start();
    EXPECT_EQ("The file " + d.box.Path("html\\" + tooLong) + " cannot go on the CD-ROM as " + tooLong +
                  ": the name is longer than a disc holds (254 Latin characters, or 127 of other scripts).\n\nPlease "
                  "rename the file or select another one.",
              d.CreateCd(IDOK));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(d.out.c_str()));

    // Longer than Joliet's 64: a warning that says where the whole name is kept.
    const std::string longName = std::string(61, 'n') + ".gif";
    d.box.Write("html\\1_Demo_General_Menu.html", kMode + "<img src=\"" + longName + "\">");
    d.box.Write("html\\" + longName, "long");
    EXPECT_EQ("The name " + longName + " is longer than the 64 characters of Joliet, so it is shortened to " +
                  std::string(58, 'n') +
                  "~1.gif on systems that read only Joliet: burn the folder as UDF (Windows' "
                  "\"Like a USB flash drive\", or a disc with UDF beside Joliet) to keep it.\n\nCreate the CD-ROM "
                  "files all the same?",
              d.CreateCd(IDNO));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(d.out.c_str()));

    d.box.Write("html\\1_Demo_General_Menu.html", "<img src=logo.gif>");
    const std::string warning = "The page " + d.box.Path("html\\1_Demo_General_Menu.html") +
                                " declares no document mode (X-UA-Compatible), so the built-in viewer draws it in its "
                                "oldest mode.\n\nCreate the CD-ROM files all the same?";
    EXPECT_EQ(warning, d.CreateCd(IDNO));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(d.out.c_str()));
    EXPECT_EQ(warning, d.CreateCd(IDYES));
    EXPECT_EQ(Question(d.out), d.Answer(IDNO));
    EXPECT_TRUE(FilesIn(d.out).count("logo.gif"));
}

// A site kept in folders, then the sample disc: the second folder holds exactly the sample disc;
// a build that fails after that leaves it as it was.
TEST(BuilderDesigner, ARebuildHoldsExactlyTheNewDiscAndAFailedOneLeavesItAlone) {
    Designer d;
    d.box.Write("html\\tree.html", kMode + "<img src=tree/a.gif><a href=tree/sub/b.htm>b</a>");
    d.box.Write("html\\tree\\a.gif", "a");
    d.box.Write("html\\tree\\sub\\b.htm", kMode + "<img src=../a.gif>");
    d.Start();
    PickFile(*d.process, d.dlg, IDC_SELECT_FILE, kSelectFile, d.box.Path("html\\tree.html").c_str());
    EXPECT_EQ(Question(d.out), d.CreateCd(IDNO));
    ASSERT_EQ(std::set<std::string>{"b.htm"}, FilesIn(d.out + "\\tree\\sub"));

    PickFile(*d.process, d.dlg, IDC_SELECT_FILE, kSelectFile, d.box.Path("html\\1_Demo_General_Menu.html").c_str());
    EXPECT_EQ(Question(d.out), d.CreateCd(IDNO));
    std::set<std::string> expected = d.SampleSite();
    expected.erase("tree.html"); // beside the sample pages, linked by none of them
    expected.insert({"autorun.inf", "COPY_ALL_TO_CDROM_ROOT.txt", "autorun.exe", "default.jpg", "default.wav"});
    EXPECT_EQ(expected, FilesIn(d.out));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((d.out + "\\tree").c_str()));

    const std::string inf = ReadFile(d.out + "\\autorun.inf");
    DeleteFileA(d.box.Path("sounds\\default.wav").c_str());
    PickFile(*d.process, d.dlg, IDC_SELECT_FILE, kSelectFile, d.box.Path("html\\tree.html").c_str());
    EXPECT_EQ(0u, d.CreateCd(IDOK).find("There was a problem copying sounds/default.wav to "));
    d.ExpectIdle();
    EXPECT_EQ(expected, FilesIn(d.out));
    EXPECT_EQ(inf, ReadFile(d.out + "\\autorun.inf"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((d.out + ".part").c_str()));
}
