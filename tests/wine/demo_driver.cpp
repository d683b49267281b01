// The main job played as a user would: the designer with its default settings builds the sample
// disc, the preview is accepted, and the new autorun.exe plays it; the finished folder is then
// shown in Explorer. Before it, a copy of the program beside a longer site with two missing
// images shows the wait dialog and the missing-files dialog (the main job's folder replaces
// that build's). Screenshots of each stage.
// Usage: demo_driver <Vintrosk.exe>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>

#include "designer/build_wait_ids.h"
#include "harness.h"

using namespace vt;

namespace {

constexpr DWORD kWait = 60000;

bool IsResizable(HWND w) { return (GetWindowLongA(w, GWL_STYLE) & WS_THICKFRAME) != 0; }

int Fail(const char* what, const Process& p) {
    printf("demo: %s\n%s\n", what, DescribeWindows(p).c_str());
    return 1;
}

// The program and its sample folders copied, and the start page replaced by a tour of 1,500
// pages and a film of 300 MB (zeros), so that the wait window's count and bar are seen as the
// files are copied; two of the pages show images that are not there.
int MissingFilesRun(const std::string& folder) {
    Sandbox box("demo_missing_files");
    CopyTree(folder, box.Dir());
    // Pages that name their document mode, like the sample site's, so Create CD has no warning.
    const std::string mode = "<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">\n";
    std::string tour = "<html><head>" + mode + "</head><body><h1>Tour</h1>\n<a href=\"tour.avi\">film</a>\n";
    for (int i = 1; i <= 1500; ++i) {
        char page[16];
        snprintf(page, sizeof page, "p%04d.html", i);
        tour += std::string("<a href=\"") + page + "\">" + page + "</a>\n";
        std::string body = mode + "<img src=\"logo.gif\">\n";
        if (i == 4)
            body += "<img src=\"team_photo.jpg\">\n";
        if (i == 9)
            body += "<img src=\"map.gif\">\n";
        box.Write(std::string("html\\") + page, body);
    }
    box.Write("html\\1_Demo_General_Menu.html", tour + "</body></html>\n");
    HANDLE film =
        CreateFileW(Wide(box.Path("html\\tour.avi")).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = 300LL << 20;
    SetFilePointerEx(film, size, nullptr, FILE_BEGIN);
    SetEndOfFile(film);
    CloseHandle(film);

    printf("demo: Create CD on a site with missing images\n");
    Process designer(box.Path("Vintrosk.exe"), "design", box.Dir());
    HWND dlg = WaitWindow(designer, "Vintrosk!", "#32770", kWait);
    if (!dlg)
        return Fail("the designer did not open", designer);
    Press(dlg, IDOK);
    HWND wait = WaitWindow(designer, "Please wait ..", "#32770", kWait);
    if (!wait)
        return Fail("no wait dialog", designer);
    // The copy under way: its count and its bar part done.
    WaitUntil(
        [&] {
            return ItemText(wait, IDC_WAIT_LABEL) == "Copying the files:" &&
                   SendMessageW(GetDlgItem(wait, IDC_WAIT_BAR), PBM_GETPOS, 0, 0) > 100;
        },
        kWait);
    Screenshot("6-please-wait");
    HWND missing = WaitWindow(designer, "Vintrosk! - Linked Web Page Files Not found", "#32770", kWait);
    if (!missing)
        return Fail("no missing-files dialog", designer);
    Screenshot("7-missing-files");
    Press(missing, IDOK);
    HWND question = WaitMessageBox(designer, kWait);
    if (!question)
        return Fail("no question after the missing files", designer);
    Press(question, IDNO);
    Press(dlg, IDCANCEL);
    if (!designer.WaitExit(kWait))
        return Fail("the designer did not close", designer);
    DeleteFileW(Wide(box.Path("html\\tour.avi")).c_str());
    return 0;
}

// The finished folder as Explorer shows it.
void ShowDiscFolder() {
    char desktop[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
    const std::string disc = std::string(desktop) + "\\CD-ROM Distributable Files";
    Process explorer("C:\\windows\\explorer.exe", "\"" + disc + "\"", desktop);
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindWindowA(nullptr, "CD-ROM Distributable Files")) != nullptr; }, kWait);
    if (!window) {
        printf("demo: Explorer did not show the folder\n");
        return;
    }
    MoveWindow(window, 40, 30, 760, 560, TRUE);
    // Explorer fills its list after the window shows.
    Sleep(1500);
    Screenshot("8-disc-folder");
    PostMessageA(window, WM_CLOSE, 0, 0);
    WaitGone(window, kWait);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printf("usage: demo_driver <Vintrosk.exe>\n");
        return 2;
    }
    const std::string exe = WinPath(argv[1]);
    const std::string folder = exe.substr(0, exe.rfind('\\'));
    if (int failed = MissingFilesRun(folder))
        return failed;

    printf("demo: starting %s design\n", exe.c_str());
    Process designer(exe, "design", folder);
    if (WaitUntil(
            [&] {
                for (HWND w : designer.Windows(true))
                    if (IsCaptionlessPopup(w))
                        return true;
                return false;
            },
            kWait))
        Screenshot("1-designer-splash");
    HWND dlg = WaitWindow(designer, "Vintrosk!", "#32770", kWait);
    if (!dlg)
        return Fail("the designer did not open", designer);
    Screenshot("2-designer");

    printf("demo: Create CD with the default settings\n");
    Press(dlg, IDOK);
    HWND question = WaitMessageBox(designer, kWait);
    if (!question)
        return Fail("no question after Create CD", designer);
    printf("demo: the designer says:\n---\n%s\n---\n", MessageBoxText(question).c_str());
    Screenshot("3-question");
    Press(question, IDYES);

    Started launcher("autorun.exe");
    if (!launcher.Found())
        return Fail("the preview did not start", designer);
    if (launcher.WaitWindow(IsCaptionlessPopup, kWait))
        Screenshot("4-disc-splash");
    HWND viewer = launcher.WaitWindow(IsResizable, kWait);
    if (!viewer)
        return Fail("the disc's viewer did not open", designer);
    Screenshot("5-disc-viewer");
    PostMessageA(viewer, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (!launcher.WaitExit(kWait))
        return Fail("the disc did not end after its viewer closed", designer);
    printf("demo: the disc played and ended\n");

    ShowWindow(dlg, SW_RESTORE);
    Press(dlg, IDCANCEL);
    if (!designer.WaitExit(kWait))
        return Fail("the designer did not close", designer);
    ShowDiscFolder();
    return 0;
}
