// The main job played as a user would: the designer with its default settings builds the sample
// disc, the preview is accepted, and the new autorun.exe plays it. Screenshots of each stage.
// Usage: demo_driver <Vintrosk.exe>
#include <cstdio>

#include "harness.h"

using namespace vt;

namespace {

constexpr DWORD kWait = 60000;

bool IsResizable(HWND w) { return (GetWindowLongA(w, GWL_STYLE) & WS_THICKFRAME) != 0; }

int Fail(const char* what, const Process& p) {
  printf("demo: %s\n%s\n", what, DescribeWindows(p).c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    printf("usage: demo_driver <Vintrosk.exe>\n");
    return 2;
  }
  const std::string exe = WinPath(argv[1]);
  const std::string folder = exe.substr(0, exe.rfind('\\'));
  printf("demo: starting %s design\n", exe.c_str());
  Process designer(exe, "design", folder);
  if (WaitUntil([&] {
        for (HWND w : designer.Windows(true))
          if (IsCaptionlessPopup(w)) return true;
        return false;
      }, kWait))
    Screenshot("1-designer-splash");
  HWND dlg = WaitWindow(designer, "Vintrosk!", "#32770", kWait);
  if (!dlg) return Fail("the designer did not open", designer);
  Screenshot("2-designer");

  printf("demo: Create CD with the default settings\n");
  Press(dlg, IDOK);
  HWND question = WaitMessageBox(designer, kWait);
  if (!question) return Fail("no question after Create CD", designer);
  printf("demo: the designer says:\n---\n%s\n---\n", MessageBoxText(question).c_str());
  Screenshot("3-question");
  Press(question, IDYES);

  Started launcher("autorun.exe");
  if (!launcher.Found()) return Fail("the preview did not start", designer);
  if (launcher.WaitWindow(IsCaptionlessPopup, kWait)) Screenshot("4-disc-splash");
  HWND viewer = launcher.WaitWindow(IsResizable, kWait);
  if (!viewer) return Fail("the disc's viewer did not open", designer);
  Screenshot("5-disc-viewer");
  PostMessageA(viewer, WM_SYSCOMMAND, SC_CLOSE, 0);
  if (!launcher.WaitExit(kWait)) return Fail("the disc did not end after its viewer closed", designer);
  printf("demo: the disc played and ended\n");

  ShowWindow(dlg, SW_RESTORE);
  Press(dlg, IDCANCEL);
  if (!designer.WaitExit(kWait)) return Fail("the designer did not close", designer);
  return 0;
}
