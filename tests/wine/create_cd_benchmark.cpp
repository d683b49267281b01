// Create CD in the designer against "Vintrosk.exe design --build" of the same site into the
// same folder, under the same Wine: the time from the click to the question that ends the
// build, and from the command's start to its end. Runs in turn, each after a warm-up; prints
// min, median and max of each and the ratio of the medians. A benchmark, not a test: ctest
// does not run it (tools/create_cd_benchmark.sh does).
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "designer/designer_ids.h"
#include "harness.h"

using namespace vt;

namespace {

std::string DesktopOutput() {
    char path[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOP, FALSE);
    return std::string(path) + "\\CD-ROM Distributable Files";
}

void Print(const char* name, std::vector<double> v) {
    std::sort(v.begin(), v.end());
    printf("[figure] %-34s min %.2f s  median %.2f s  max %.2f s  (%zu runs)\n", name, v.front(), v[v.size() / 2],
           v.back(), v.size());
}

// Create CD from the click to the question after the build, answering the questions on the way
// (warnings: Yes) and closing the missing-files list; -1 when it did not end so.
double DesignerCreateCd(const Sandbox& box, const std::string& target) {
    Process process(box.Path("Vintrosk.exe"), "design", box.Dir());
    HWND dlg = WaitWindow(process, "Vintrosk!", "#32770", 30000);
    if (!dlg)
        return -1;
    PickFile(process, dlg, IDC_SELECT_FILE, "Select the File to Auto-Play on CD-ROM", target.c_str());
    const double start = Now();
    Press(dlg, IDOK);
    double took = -1;
    for (const double deadline = Now() + 600; Now() < deadline && took < 0;) {
        if (HWND missing = FindWindowOf(process, "Vintrosk! - Linked Web Page Files Not found", "#32770")) {
            Press(missing, IDOK);
            WaitGone(missing, 10000);
            continue;
        }
        HWND box = WaitMessageBox(process, 20);
        if (!box)
            continue;
        const std::string text = MessageBoxText(box);
        if (text.find("Your files have been created") == 0) {
            took = Now() - start;
            Press(box, IDNO);
        } else if (text.find("all the same?") != std::string::npos) {
            Press(box, IDYES);
        } else {
            printf("unexpected message: %s\n", text.c_str());
            Press(box, IDOK);
            break;
        }
        WaitGone(box, 10000);
    }
    PostMessage(dlg, WM_CLOSE, 0, 0);
    process.WaitExit(30000);
    return took;
}

double CommandBuild(const Sandbox& box, const std::string& target, const std::string& out) {
    Process process(box.Path("Vintrosk.exe"),
                    "design --build --allow-missing --target \"" + target + "\" --out \"" + out + "\"", box.Dir());
    if (!process.WaitExit(600000))
        return -1;
    return process.Lifetime();
}

} // namespace

TEST(CreateCdBenchmark, DesignerAgainstCommandBuild) {
    const char* given = std::getenv("VT_BENCH_TARGET");
    const std::string target = given ? given : "Z:\\usr\\share\\doc\\apache2-doc\\manual\\index.html";
    const int runs = std::getenv("VT_BENCH_RUNS") ? std::atoi(std::getenv("VT_BENCH_RUNS")) : 3;
    Sandbox box;
    CopyTree(WinPath(VT_SAMPLES_DIR), box.Dir());
    box.CopyVintrosk();
    const std::string out = DesktopOutput();
    std::vector<double> designer, command;
    for (int run = -1; run < runs; ++run) { // the first of each warms up
        const double d = DesignerCreateCd(box, target);
        const double c = CommandBuild(box, target, out);
        ASSERT_GT(d, 0) << "the designer's Create CD did not end with its question";
        ASSERT_GT(c, 0) << "the command build did not end";
        if (run < 0)
            continue;
        designer.push_back(d);
        command.push_back(c);
    }
    Print("designer Create CD", designer);
    Print("Vintrosk.exe design --build", command);
    std::sort(designer.begin(), designer.end());
    std::sort(command.begin(), command.end());
    printf("[figure] designer / command: %.2f (medians)\n",
           designer[designer.size() / 2] / command[command.size() / 2]);
    RemoveTree(out);
}
