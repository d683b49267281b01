// The help window of the real program, opened from the designer's Help button and driven from
// outside: version text, both links with their tooltips, the browser control in place, and OK;
// and how it holds the designer while it is open.
#include <gtest/gtest.h>

#include "controls/help_ids.h"
#include "designer/designer_ids.h"
#include "harness.h"

using namespace vt;

namespace {

constexpr DWORD kWait = 15000;
const char kHelpTitle[] = "Vintrosk! Online Help at https://vintrosk.example/";

int HelpWindows(const Process& process) {
  int count = 0;
  for (HWND w : process.Windows())
    count += Title(w) == kHelpTitle;
  return count;
}

// The tip that shows while the mouse rests on the control, or "" when none shows.
std::string TipOver(const Process& process, HWND control) {
  auto visibleTip = [&] {
    for (HWND w : process.Windows(true))
      if (ClassOf(w) == "tooltips_class32") return w;
    return HWND();
  };
  // Leave first and wait until the last tip is gone, so that its text is not read.
  SetCursorPos(1023, 767);
  WaitUntil([&] { return !visibleTip(); }, 5000);
  RECT r = RectOf(control);
  const POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  SetCursorPos(centre.x, centre.y);
  std::string text;
  int polls = 0;
  WaitUntil(
      [&] {
        HWND tip = visibleTip();
        // A busy machine can lose the move that starts the tip's timer: rest the mouse anew,
        // a pixel aside and back, every second until a tip shows.
        if (!tip && ++polls % 50 == 0) SetCursorPos(centre.x + (polls / 50) % 2, centre.y);
        if (!tip) return false;
        char buf[512] = {};
        SendMessageTimeoutA(tip, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000,
                            nullptr);
        text = buf;
        return !text.empty();
      },
      10000);
  return text;
}

TEST(HelpWindow, HelpButtonShowsVersionLinksAndBrowserAndOkClosesIt) {
  Sandbox box;
  Process process(box.CopyVintrosk(), "design", box.Dir());
  HWND designer = WaitWindow(process, "Vintrosk!", "#32770", kWait);
  ASSERT_TRUE(designer) << DescribeWindows(process);
  Press(designer, IDC_HELP_BUTTON);
  HWND help = WaitWindow(process, kHelpTitle, "#32770", kWait);
  ASSERT_TRUE(help) << DescribeWindows(process);

  EXPECT_EQ(ItemText(help, IDC_HELP_VERSION), "Vintrosk! Version 1.56\nAutoplay CD-ROMs made simple.");
  EXPECT_EQ(ItemText(help, IDC_HELP_WEB_LINK), "https://vintrosk.example/");
  EXPECT_EQ(ItemText(help, IDC_HELP_MAIL_LINK), "support@vintrosk.example");
  HWND browser = GetDlgItem(help, IDC_HELP_BROWSER);
  EXPECT_EQ(ClassOf(browser), "FwAxHost");
  EXPECT_TRUE(GetWindow(browser, GW_CHILD)) << "the Web Browser control is in place in its host";

  SetForegroundWindow(help);
  EXPECT_EQ(TipOver(process, GetDlgItem(help, IDC_HELP_WEB_LINK)), "https://vintrosk.example/vintrosk/");
  EXPECT_EQ(TipOver(process, GetDlgItem(help, IDC_HELP_MAIL_LINK)), "support@vintrosk.example");
  Screenshot("help");

  Press(help, IDOK);
  EXPECT_TRUE(WaitGone(help, kWait));
  EXPECT_TRUE(IsWindowVisible(designer));
  Press(designer, IDCANCEL);
  EXPECT_TRUE(process.WaitExit(kWait));
}

TEST(HelpWindow, HoldsTheDesignerUntilItCloses) {
  Sandbox box;
  Process process(box.CopyVintrosk(), "design", box.Dir());
  HWND designer = WaitWindow(process, "Vintrosk!", "#32770", kWait);
  ASSERT_TRUE(designer) << DescribeWindows(process);
  Press(designer, IDC_HELP_BUTTON);
  HWND help = WaitWindow(process, kHelpTitle, "#32770", kWait);
  ASSERT_TRUE(help) << DescribeWindows(process);
  EXPECT_EQ(designer, GetWindow(help, GW_OWNER));
  EXPECT_FALSE(IsWindowEnabled(designer));

  // Commands that still reach the disabled designer: Help again, Quit, the close box.
  Press(designer, IDC_HELP_BUTTON);
  Press(designer, IDCANCEL);
  PostMessageA(designer, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(WaitUntil([&] { return HelpWindows(process) > 1 || !IsWindowVisible(designer); }, 2000))
      << DescribeWindows(process);
  EXPECT_EQ(1, HelpWindows(process));
  EXPECT_TRUE(IsWindowVisible(designer));
  EXPECT_TRUE(IsWindowVisible(help));

  Press(help, IDOK);
  EXPECT_TRUE(WaitGone(help, kWait));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(designer) != FALSE; }, kWait));
  EXPECT_EQ(0, HelpWindows(process));
  Press(designer, IDCANCEL);
  EXPECT_TRUE(process.WaitExit(kWait));
}

}  // namespace
