// The designer's disc image option and "Vintrosk.exe design --build" under Wine: no window, what it prints, its exit codes, and the
// same folder as the designer's Create CD from the same settings. The folders and the image are
// left in test-output/command_build for the Linux program's side (command_build_test.sh).
#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdlib>
#include <map>
#include <utility>

#include "designer/designer_ids.h"
#include "designer/build_wait_ids.h"
#include "harness.h"

using namespace vt;

namespace {

constexpr DWORD kWait = 30000;

struct Result {
    DWORD code = 0xFFFFFFFF;
    std::string out, err;
    std::vector<std::string> windows; // every window it showed
};

HANDLE Inheritable(const std::string& path) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    return CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
}

BOOL CALLBACK NoteWindow(HWND wnd, LPARAM param) {
    auto* watched = reinterpret_cast<std::pair<DWORD, Result*>*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid == watched->first && IsWindowVisible(wnd))
        watched->second->windows.push_back(Describe(wnd));
    return TRUE;
}

// Runs the program with its standard output and error going to files, as a script would.
Result RunBuild(const Sandbox& box, const std::string& args) {
    Result run;
    const std::string outPath = box.Path("stdout.txt"), errPath = box.Path("stderr.txt");
    HANDLE out = Inheritable(outPath), err = Inheritable(errPath);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = err;
    std::wstring line = L"\"" + Wide(box.Path("Vintrosk.exe")) + L"\" design --build " + Wide(args);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, Wide(box.Dir()).c_str(), &si, &pi)) {
        ADD_FAILURE() << "could not start the program";
        return run;
    }
    CloseHandle(out);
    CloseHandle(err);
    const double end = Now() + kWait / 1000.0;
    std::pair<DWORD, Result*> watched(pi.dwProcessId, &run);
    while (WaitForSingleObject(pi.hProcess, 50) == WAIT_TIMEOUT && Now() < end) {
        EnumWindows(NoteWindow, reinterpret_cast<LPARAM>(&watched));
    }
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
        ADD_FAILURE() << "the build did not end";
        TerminateProcess(pi.hProcess, 99);
    }
    GetExitCodeProcess(pi.hProcess, &run.code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    run.out = ReadWholeFile(outPath);
    run.err = ReadWholeFile(errPath);
    return run;
}

// The program installed with its sample folders in a sandbox of the test's own.
struct Installed {
    Sandbox box;
    Installed() {
        CopyTree(WinPath(VT_SAMPLES_DIR), box.Dir());
        box.CopyVintrosk();
    }
};

std::map<std::string, std::string> Contents(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const std::string& name : FilesIn(folder))
        files[name] = ReadWholeFile(folder + "\\" + name);
    return files;
}

std::string DesktopOutput() {
    char path[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOP, FALSE);
    return std::string(path) + "\\CD-ROM Distributable Files";
}

TEST(CommandBuild, BuildsTheDesignersFolderWithNoWindowAndLeavesItForTheLinuxSide) {
    Installed p;
    const std::string mine = DesktopOutput();
    RemoveTree(mine);

    // The designer's Create CD with its defaults, declined preview.
    {
        Process designer(p.box.Path("Vintrosk.exe"), "design", p.box.Dir());
        HWND dlg = WaitWindow(designer, "Vintrosk!", "#32770", kWait);
        ASSERT_TRUE(dlg) << DescribeWindows(designer);
        Press(dlg, IDOK);
        HWND question = WaitMessageBox(designer, kWait);
        ASSERT_TRUE(question) << DescribeWindows(designer);
        EXPECT_EQ(0u, MessageBoxText(question).find("Your files have been created")) << MessageBoxText(question);
        Press(question, IDNO);
        PostMessage(dlg, WM_CLOSE, 0, 0);
        EXPECT_TRUE(designer.WaitExit(kWait));
    }
    const std::map<std::string, std::string> designed = Contents(mine);
    ASSERT_EQ(21u, designed.size());

    // First another site, kept in folders, into the same folder and image: the build below leaves
    // nothing of it (the folder is compared whole here, the image read back on the Linux side).
    const std::string mode = "<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">";
    p.box.Write("tree\\index.htm", mode + "<img src=img/a.gif><a href=sub/b.htm>b</a>");
    p.box.Write("tree\\img\\a.gif", "a");
    p.box.Write("tree\\sub\\b.htm", mode + "<img src=../img/a.gif>");
    const Result first = RunBuild(p.box, "--out cd --image cd.iso --target tree\\index.htm --no-splash --no-sound");
    ASSERT_EQ(0u, first.code) << first.err;
    ASSERT_TRUE(p.box.Exists("cd\\img\\a.gif"));

    const Result run = RunBuild(p.box, "--out cd --image cd.iso");
    EXPECT_EQ(0u, run.code) << run.err;
    EXPECT_TRUE(run.windows.empty()) << run.windows.front();
    EXPECT_EQ("", run.err);
    EXPECT_EQ(
        "Building the CD-ROM files in " + p.box.Path("cd") +
            "\r\nReading html\\1_Demo_General_Menu.html\r\n"
            "Reading html\\2_Demo_Page_Actions.html\r\nReading html\\3_Demo_Movie.html\r\nWriting the disc image " +
            p.box.Path("cd.iso") + "\r\nDone.\r\n",
        run.out);
    EXPECT_EQ(designed, Contents(p.box.Path("cd")));
    EXPECT_TRUE(p.box.Exists("cd.iso"));

    // For the Linux program's side: the designer's folder, this one and its image.
    const std::string kept = OutputDir() + "\\command_build";
    RemoveTree(kept);
    CreateDirectoryW(Wide(kept).c_str(), nullptr);
    CopyTree(mine, kept + "\\designer");
    CopyTree(p.box.Path("cd"), kept + "\\command");
    CopyFileW(Wide(p.box.Path("cd.iso")).c_str(), Wide(kept + "\\command.iso").c_str(), FALSE);
    RemoveTree(mine);
}

TEST(CommandBuild, ExitCodesAndMessages) {
    Installed p;
    p.box.Write("site\\index.htm", "<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\"><img src=\"lost.gif\">");
    p.box.Write("plainfile", "a file");
    struct Case {
        const char* what;
        std::string args;
        DWORD code;
        std::string err; // the start of standard error
        std::string out; // the start of standard output
    } cases[] = {
        {"help", "--help", 0, "", "Usage: Vintrosk.exe design --build [options]\r\n"},
        {"a bad option", "--launcher x.exe", 2,
         "There is no option --launcher.\r\nRun Vintrosk.exe design --build --help for the options.\r\n", ""},
        {"a missing file", "--out gone --sound nothing.wav", 1,
         "The sound " + p.box.Path("nothing.wav") + " was not found.\r\n", ""},
        {"a missing linked file", "--out missing --target site\\index.htm", 3,
         "Missing linked file: " + p.box.Path("site\\lost.gif") +
             " (not found)\r\n1 linked file(s) missing: the CD-ROM files are incomplete.\r\n",
         "Building"},
        {"missing allowed", "--out allowed --target site\\index.htm --allow-missing", 0,
         "Missing linked file: " + p.box.Path("site\\lost.gif") + " (not found)\r\n", "Building"},
        {"an unwritable output", "--out plainfile\\cd", 1,
         "There was a problem creating the output folder " + p.box.Path("plainfile\\cd") + "\r\n", "Building"},
        {"an unwritable image", "--out image --image plainfile\\cd.iso", 1,
         "There was a problem writing the disc image: ", "Building"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Result run = RunBuild(p.box, c.args);
        EXPECT_EQ(c.code, run.code);
        EXPECT_EQ(0u, run.err.find(c.err)) << run.err;
        EXPECT_EQ(0u, run.out.find(c.out)) << run.out;
        EXPECT_TRUE(run.windows.empty()) << run.windows.front();
    }
    EXPECT_FALSE(p.box.Exists("gone"));
    EXPECT_TRUE(p.box.Exists("allowed\\autorun.exe"));
}

// The designer started in the sandbox, its Create CD answered with No to the preview.
struct Designer {
    std::unique_ptr<Process> process;
    HWND dlg = nullptr;
    explicit Designer(const Sandbox& box) {
        process = std::make_unique<Process>(box.Path("Vintrosk.exe"), "design", box.Dir());
        dlg = WaitWindow(*process, "Vintrosk!", "#32770", kWait);
    }
    ~Designer() {
        if (dlg)
            PostMessage(dlg, WM_CLOSE, 0, 0);
        process->WaitExit(kWait);
    }
    // Presses Create CD and answers each message box with `answer`; returns their texts.
    std::vector<std::string> CreateCd(int answer, size_t boxes) {
        std::vector<std::string> texts;
        Press(dlg, IDOK);
        for (size_t i = 0; i < boxes; ++i) {
            HWND box = WaitMessageBox(*process, kWait);
            if (!box) {
                ADD_FAILURE() << "no message box\n" << DescribeWindows(*process);
                break;
            }
            texts.push_back(MessageBoxText(box));
            Press(box, answer);
            WaitGone(box, kWait);
        }
        return texts;
    }
};

// A click on a check box, which toggles it as the user's click does.
void Click(HWND dlg, int id) {
    SendMessageTimeoutA(GetDlgItem(dlg, id), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
}

bool Overlap(const RECT& a, const RECT& b) {
    RECT both;
    return IntersectRect(&both, &a, &b) != 0;
}

TEST(DesignerImage, TheOptionIsOffAndBesideCreateCdWhereNothingElseIs) {
    Installed p;
    Designer d(p.box);
    ASSERT_TRUE(d.dlg) << DescribeWindows(*d.process);
    HWND option = GetDlgItem(d.dlg, IDC_IMAGE_OPTION);
    ASSERT_TRUE(option);
    EXPECT_EQ("Also write a disc image (.iso)", ItemText(d.dlg, IDC_IMAGE_OPTION));
    EXPECT_EQ(BST_UNCHECKED, ItemCheck(d.dlg, IDC_IMAGE_OPTION));
    const RECT box = RectOf(option), create = RectOf(GetDlgItem(d.dlg, IDOK));
    EXPECT_GT(box.left, create.right);
    EXPECT_LT(box.top, create.bottom);
    EXPECT_GT(box.bottom, create.top);
    RECT client;
    GetClientRect(d.dlg, &client);
    MapWindowPoints(d.dlg, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_TRUE(box.left >= client.left && box.right <= client.right && box.bottom <= client.bottom);
    for (HWND child = GetWindow(d.dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (child == option || (ClassOf(child) == "Button" && (GetWindowLongW(child, GWL_STYLE) & 0xF) == BS_GROUPBOX))
            continue;
        EXPECT_FALSE(Overlap(box, RectOf(child))) << Describe(child);
    }
    Screenshot("designer_image_option");
}

TEST(DesignerImage, CreateCdWritesTheImageBesideTheFolderOrSaysWhyNot) {
    Installed p;
    const std::string folder = DesktopOutput(), image = folder + ".iso";
    RemoveTree(folder);
    DeleteFileW(Wide(image).c_str());
    {
        Designer d(p.box);
        ASSERT_TRUE(d.dlg) << DescribeWindows(*d.process);
        Click(d.dlg, IDC_IMAGE_OPTION);
        EXPECT_EQ(BST_CHECKED, ItemCheck(d.dlg, IDC_IMAGE_OPTION));
        const std::vector<std::string> texts = d.CreateCd(IDNO, 1);
        ASSERT_EQ(1u, texts.size());
        EXPECT_EQ(0u, texts[0].find("Your files have been created")) << texts[0];
    }
    EXPECT_TRUE(FilesIn(folder).count("autorun.inf"));
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Wide(image).c_str()));
    // For the readers on the Linux side.
    const std::string kept = OutputDir() + "\\command_build";
    CreateDirectoryW(Wide(kept).c_str(), nullptr);
    RemoveTree(kept + "\\designer_image");
    CopyTree(folder, kept + "\\designer_image");
    CopyFileW(Wide(image).c_str(), Wide(kept + "\\designer.iso").c_str(), FALSE);

    // A folder in the image's place is refused before anything is written, and kept.
    DeleteFileW(Wide(image).c_str());
    CreateDirectoryW(Wide(image).c_str(), nullptr);
    DeleteFileW(Wide(folder + "\\default.jpg").c_str()); // a mark that the folder stays as it was
    {
        Designer d(p.box);
        ASSERT_TRUE(d.dlg);
        Click(d.dlg, IDC_IMAGE_OPTION);
        const std::vector<std::string> texts = d.CreateCd(IDOK, 1);
        ASSERT_EQ(1u, texts.size());
        EXPECT_EQ(0u, texts[0].find("There is a folder " + image + " where the disc image would go")) << texts[0];
        EXPECT_EQ(nullptr, WaitMessageBox(*d.process, 1000)) << "a question after the failure";
    }
    EXPECT_TRUE(FilesIn(folder).count("autorun.exe"));
    EXPECT_FALSE(FilesIn(folder).count("default.jpg"));
    EXPECT_NE(0u, GetFileAttributesW(Wide(image).c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    RemoveDirectoryW(Wide(image).c_str());
    RemoveTree(folder);
}

// A sound of `megabytes` (zeros): a build that takes long enough to watch.
void MakeBigSound(const Installed& p, long long megabytes) {
    HANDLE big = CreateFileW(Wide(p.box.Path("sounds\\default.wav")).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, big);
    LARGE_INTEGER size;
    size.QuadPart = megabytes << 20;
    SetFilePointerEx(big, size, nullptr, FILE_BEGIN);
    SetEndOfFile(big);
    CloseHandle(big);
}

// The wait window of Create CD at a stage (its label), with its counts; partWay: once its bar
// shows a part done.
HWND WaitForStage(const Process& process, const std::string& label, bool partWay, std::string& text,
                  std::string& counts) {
    HWND wait = nullptr;
    WaitUntil(
        [&] {
            wait = FindWindowOf(process, "Please wait ..", "#32770");
            if (!wait || ItemText(wait, IDC_WAIT_LABEL) != label)
                return false;
            text = ItemText(wait, IDC_WAIT_TEXT);
            counts = ItemText(wait, IDC_WAIT_COUNTS);
            const LRESULT pos = SendMessageW(GetDlgItem(wait, IDC_WAIT_BAR), PBM_GETPOS, 0, 0);
            return counts.find(" MB") != std::string::npos && (!partWay || (pos > 0 && pos < 1000));
        },
        kWait);
    if (wait && ItemText(wait, IDC_WAIT_LABEL) == label)
        return wait;
    if (HWND box = WaitMessageBox(process, 100))
        ADD_FAILURE() << "a message instead: " << MessageBoxText(box);
    return nullptr;
}

// Create CD with the image option on, Yes to the warning that the files need a DVD.
void CreateCdWithImagePastTheDvdWarning(Designer& d) {
    Click(d.dlg, IDC_IMAGE_OPTION);
    Press(d.dlg, IDOK);
    HWND warning = WaitMessageBox(*d.process, kWait);
    ASSERT_TRUE(warning);
    ASSERT_NE(std::string::npos, MessageBoxText(warning).find("they need a DVD")) << MessageBoxText(warning);
    Press(warning, IDYES);
}

TEST(DesignerImage, TheWaitWindowShowsTheImagesProgress) {
    Installed p;
    const std::string folder = DesktopOutput(), image = folder + ".iso";
    RemoveTree(folder);
    DeleteFileW(Wide(image).c_str());
    // Long enough for each stage to be met: more than a CD-R holds, so a warning asks first.
    MakeBigSound(p, 1500);
    {
        Designer d(p.box);
        ASSERT_TRUE(d.dlg);
        ASSERT_NO_FATAL_FAILURE(CreateCdWithImagePastTheDvdWarning(d));
        std::string text, counts;
        // The files first, with their counts and the bar part way; then the image, written beside
        // the copy, for as long as it takes after it.
        EXPECT_TRUE(WaitForStage(*d.process, "Copying the files:", true, text, counts)) << DescribeWindows(*d.process);
        EXPECT_NE(std::string::npos, counts.find(" files, ")) << counts;
        HWND wait = WaitForStage(*d.process, "Writing the disc image:", false, text, counts);
        EXPECT_TRUE(wait) << DescribeWindows(*d.process);
        EXPECT_EQ(image, text);
        EXPECT_NE(std::string::npos, counts.find(" of 1,500.")) << counts;
        if (wait)
            Screenshot("writing_image");
        HWND question = WaitMessageBox(*d.process, 120000);
        ASSERT_TRUE(question);
        EXPECT_EQ(0u, MessageBoxText(question).find("Your files have been created")) << MessageBoxText(question);
        Press(question, IDNO);
        WaitGone(question, kWait);
    }
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Wide(image).c_str()));
    // The sandbox stays for a look after a failure; the 1,500 MB do not.
    RemoveTree(folder);
    DeleteFileW(Wide(image).c_str());
    DeleteFileW(Wide(p.box.Path("sounds\\default.wav")).c_str());
}

// Cancel while the files are copied and while the image is written: the wait window goes,
// nothing is asked, and the earlier folder and image are as they were.
TEST(DesignerProgress, CancelLeavesTheEarlierDisc) {
    Installed p;
    const std::string folder = DesktopOutput(), image = folder + ".iso";
    RemoveTree(folder);
    DeleteFileW(Wide(image).c_str());
    std::map<std::string, std::string> earlier;
    std::string earlierImage;
    {
        Designer d(p.box);
        ASSERT_TRUE(d.dlg);
        Click(d.dlg, IDC_IMAGE_OPTION);
        ASSERT_EQ(1u, d.CreateCd(IDNO, 1).size());
        earlier = Contents(folder);
        earlierImage = ReadWholeFile(image);
        ASSERT_FALSE(earlier.empty());
        ASSERT_FALSE(earlierImage.empty());
    }
    // Long enough for each stage to be met: more than a CD-R holds, so a warning asks first.
    MakeBigSound(p, 1500);
    DeleteFileW(Wide(image + ".new").c_str()); // left by a run that was killed
    for (const char* stage : {"Copying the files:", "Writing the disc image:"}) {
        SCOPED_TRACE(stage);
        Designer d(p.box);
        ASSERT_TRUE(d.dlg);
        ASSERT_NO_FATAL_FAILURE(CreateCdWithImagePastTheDvdWarning(d));
        std::string text, counts;
        HWND wait = WaitForStage(*d.process, stage, false, text, counts);
        ASSERT_TRUE(wait) << DescribeWindows(*d.process);
        if (std::string(stage) == "Copying the files:")
            Screenshot("build_progress");
        const DWORD asked = GetTickCount();
        PostMessageW(wait, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(wait, IDCANCEL)));
        EXPECT_TRUE(WaitGone(wait, kWait));
        // The figure for the README; a test does not time itself.
        printf("[figure] Cancel while %s: the wait window gone after %lu ms\n", stage, GetTickCount() - asked);
        EXPECT_EQ(nullptr, WaitMessageBox(*d.process, 1000)) << "a message after Cancel";
        EXPECT_TRUE(IsWindowEnabled(d.dlg));
        EXPECT_EQ(earlier, Contents(folder));
        EXPECT_TRUE(ReadWholeFile(image) == earlierImage);
        for (const char* beside : {".part", ".old"})
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Wide(folder + beside).c_str())) << beside;
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Wide(image + ".new").c_str()));
    }
    RemoveTree(folder);
    DeleteFileW(Wide(image).c_str());
    DeleteFileW(Wide(p.box.Path("sounds\\default.wav")).c_str());
}

} // namespace

// A site of long names in five scripts, ten folders deep, through the real designer: the checks
// warn of the names Joliet shortens and the folders past eight levels, Yes builds the folder and
// its image, and the readers on the Unix side find every name whole in UDF.
TEST(DesignerImage, ALongNamedSiteGoesOnTheDiscWhole) {
    const char* site = std::getenv("VT_LONG_SITE");
    if (!site)
        GTEST_SKIP() << "command_build_test.sh makes the site and names it in VT_LONG_SITE";
    Installed p;
    const std::string folder = DesktopOutput(), image = folder + ".iso";
    RemoveTree(folder);
    DeleteFileW(Wide(image).c_str());
    CopyTree(WinPath(site), p.box.Path("longsite"));
    {
        Designer d(p.box);
        ASSERT_TRUE(d.dlg) << DescribeWindows(*d.process);
        PickFile(*d.process, d.dlg, IDC_SELECT_FILE, "Select the File to Auto-Play on CD-ROM",
                 p.box.Path("longsite\\index.html").c_str());
        Click(d.dlg, IDC_IMAGE_OPTION);
        ASSERT_EQ(BST_CHECKED, ItemCheck(d.dlg, IDC_IMAGE_OPTION));
        const std::vector<std::string> warnings = d.CreateCd(IDYES, 1);
        ASSERT_EQ(1u, warnings.size());
        EXPECT_NE(std::string::npos, warnings[0].find("is shortened to")) << warnings[0];
        EXPECT_NE(std::string::npos, warnings[0].find("Windows reads it from the disc image's UDF")) << warnings[0];
        EXPECT_NE(std::string::npos, warnings[0].find("Create the CD-ROM files all the same?")) << warnings[0];
        HWND question = WaitMessageBox(*d.process, 4 * kWait);
        ASSERT_TRUE(question) << DescribeWindows(*d.process);
        EXPECT_EQ(0u, MessageBoxText(question).find("Your files have been created")) << MessageBoxText(question);
        Press(question, IDNO);
        WaitGone(question, kWait);
    }
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Wide(image).c_str()));
    const std::string kept = OutputDir() + "\\command_build";
    CreateDirectoryW(Wide(kept).c_str(), nullptr);
    RemoveTree(kept + "\\long_designer");
    CopyTree(folder, kept + "\\long_designer");
    CopyFileW(Wide(image).c_str(), Wide(kept + "\\long_designer.iso").c_str(), FALSE);
    RemoveTree(folder);
    DeleteFileW(Wide(image).c_str());
}
