// The viewer as the launcher opens it from a disc: a page or a movie with the built-in
// browser option, driven from outside like a user would. Its size by the window-size value,
// its controls over the client area through every resize, its smallest size, its title, Esc,
// and the shell taking over when the control a file needs is not installed.
#include <gtest/gtest.h>

#include "harness.h"
#include "viewer_fixtures.h"

using namespace vt;

namespace {

const DWORD kShowMs = 15000; // for the viewer to appear, or the launcher to end
const DWORD kSettleMs = 3000;

class Viewer : public ::testing::Test {
protected:
    void SetUp() override {
        exe_ = box_.CopyVintrosk("autorun.exe");
        box_.Write("index.htm", "<html><head><title>Menu</title></head><body>Menu</body></html>");
        box_.Write("index.html", "<html><body>Menu</body></html>");
        box_.Write("intro.avi", "RIFF....AVI ");
    }

    // Starts the launcher with these values and waits for its visible viewer window.
    HWND Open(Process& p) {
        HWND viewer = WaitWindow(p, nullptr, "#32770", kShowMs);
        EXPECT_TRUE(viewer) << DescribeWindows(p);
        return viewer;
    }

    // The right edge of the player's window lies this far inside the client area.
    static int PlayerGap(HWND viewer) {
        RECT client{};
        GetClientRect(viewer, &client);
        return client.right - RectIn(viewer, GetDlgItem(viewer, kPlayerId)).right;
    }

    // Waits until both controls cover the client area; the fault otherwise.
    static std::string WaitCovered(HWND viewer, int gap) {
        std::string fault;
        WaitUntil([&] { return (fault = CoverFault(viewer, gap)).empty(); }, kSettleMs);
        return fault;
    }

    static void Close(Process& p, HWND viewer) {
        Press(viewer, IDCANCEL);
        EXPECT_TRUE(p.WaitExit(kShowMs)) << DescribeWindows(p);
    }

    Sandbox box_;
    std::string exe_;
};

RECT WorkArea() {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

void ExpectCentred(const RECT& r, const char* value) {
    const RECT work = WorkArea();
    EXPECT_NEAR(r.left - work.left, work.right - r.right, 1) << value << ": " << Text(r);
    EXPECT_NEAR(r.top - work.top, work.bottom - r.bottom, 1) << value << ": " << Text(r);
}

} // namespace

TEST_F(Viewer, SizeByTheWindowSizeValue) {
    RECT byDefault{};
    const struct {
        const char* value;
        int width, height; // 0: the template's size
    } cases[] = {{"0", 0, 0}, {"1", 640, 480}, {"2", 800, 600}, {"3", -1, -1}, {"7", 0, 0}, {"abc", 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        Process p(exe_, std::string("index.htm 1 ") + c.value, box_.Dir());
        HWND viewer = Open(p);
        if (!viewer)
            continue;
        const RECT r = RectOf(viewer);
        if (c.width < 0) {
            // Caption and border kept, the top-left corner just off the screen, the other edges on
            // the screen's.
            EXPECT_EQ(-(GetSystemMetrics(SM_CXBORDER) + 1), r.left);
            EXPECT_EQ(-(GetSystemMetrics(SM_CYBORDER) + 1), r.top);
            EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), r.right);
            EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), r.bottom);
            EXPECT_EQ(WS_CAPTION, GetWindowLongA(viewer, GWL_STYLE) & WS_CAPTION);
            EXPECT_FALSE(IsZoomed(viewer));
            Screenshot("full_screen");
        } else if (c.width > 0) {
            EXPECT_EQ(c.width, Width(r));
            EXPECT_EQ(c.height, Height(r));
            ExpectCentred(r, c.value);
        } else {
            if (Width(byDefault) == 0)
                byDefault = r;
            EXPECT_EQ(Width(byDefault), Width(r));
            EXPECT_EQ(Height(byDefault), Height(r));
            EXPECT_GT(Width(r), 640); // 502 x 329 dialog units
            ExpectCentred(r, c.value);
        }
        EXPECT_EQ("", WaitCovered(viewer, PlayerGap(viewer)));
        Close(p, viewer);
    }
}

TEST_F(Viewer, ControlsCoverTheClientAreaThroughEveryResize) {
    PlayerStandIn standIn;
    for (const char* target : {"index.htm", "intro.avi"}) {
        SCOPED_TRACE(target);
        Process p(exe_, std::string(target) + " 1 1", box_.Dir());
        HWND viewer = Open(p);
        if (!viewer)
            continue;
        // The player's template is one dialog unit narrower than the client area.
        const int gap = PlayerGap(viewer);
        EXPECT_GE(gap, 1);
        EXPECT_LE(gap, 2);
        EXPECT_EQ("", WaitCovered(viewer, gap)) << "at the start";
        if (std::string(target) == "index.htm")
            Screenshot("page");

        const RECT start = RectOf(viewer);
        const struct {
            const char* step;
            int dx, dy; // grow the window by this much; or
            int show;   // ShowWindow this
        } steps[] = {
            {"30 px wider", 30, 0, 0},        {"back", -30, 0, 0},
            {"taller and wider", 57, 41, 0},  {"back again", -57, -41, 0},
            {"minimised", 0, 0, SW_MINIMIZE}, {"restored", 0, 0, SW_RESTORE},
            {"maximised", 0, 0, SW_MAXIMIZE}, {"restored from maximised", 0, 0, SW_RESTORE},
        };
        for (const auto& s : steps) {
            if (s.show) {
                ShowWindow(viewer, s.show);
            } else {
                const RECT r = RectOf(viewer);
                SetWindowPos(viewer, nullptr, 0, 0, Width(r) + s.dx, Height(r) + s.dy, SWP_NOMOVE | SWP_NOZORDER);
            }
            if (s.show == SW_MINIMIZE) {
                EXPECT_TRUE(WaitUntil([&] { return IsIconic(viewer) != FALSE; }, kSettleMs)) << s.step;
                continue;
            }
            EXPECT_EQ("", WaitCovered(viewer, gap)) << s.step;
            if (s.show == SW_MAXIMIZE) {
                EXPECT_TRUE(IsZoomed(viewer));
                RECT client{};
                GetClientRect(viewer, &client);
                EXPECT_GT(Width(client), Width(start)) << s.step;
            }
        }
        const RECT end = RectOf(viewer);
        EXPECT_TRUE(EqualRect(&start, &end)) << Text(start) << " then " << Text(end);
        Close(p, viewer);
    }
}

TEST_F(Viewer, CannotBeDraggedSmallerThanItsMinimum) {
    PlayerStandIn standIn;
    const struct {
        const char* target;
        int width, height;
    } cases[] = {{"index.htm", 450, 300}, {"intro.avi", 150, 150}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        Process p(exe_, std::string(c.target) + " 1 0", box_.Dir());
        HWND viewer = Open(p);
        if (!viewer)
            continue;
        const int gap = PlayerGap(viewer);
        // The system holds a sizing window to its minimum tracking size for any new size, as it
        // does while the user drags the border.
        SetWindowPos(viewer, nullptr, 0, 0, 40, 30, SWP_NOMOVE | SWP_NOZORDER);
        RECT r = RectOf(viewer);
        EXPECT_EQ(c.width, Width(r));
        EXPECT_EQ(c.height, Height(r));
        EXPECT_EQ("", WaitCovered(viewer, gap));
        SetWindowPos(viewer, nullptr, 0, 0, c.width + 10, c.height + 10, SWP_NOMOVE | SWP_NOZORDER);
        r = RectOf(viewer);
        EXPECT_EQ(c.width + 10, Width(r));
        EXPECT_EQ(c.height + 10, Height(r));
        Close(p, viewer);
    }
}

TEST_F(Viewer, TitleAndControlByTarget) {
    PlayerStandIn standIn;
    const struct {
        const char* name;
        const char* target;
        const char* autorunInf; // null: none
        const char* title;
        int shown, hidden;
    } cases[] = {
        {"movie by its file name", "intro.avi", nullptr, "intro.avi", kPlayerId, kBrowserId},
        {"movie by label", "intro.avi", "[autorun]\r\nOPEN=autorun.exe intro.avi 1 1\r\nLABEL=Product Disc\r\n",
         "Product Disc", kPlayerId, kBrowserId},
        {"lower-case label line is no label", "intro.avi", "[autorun]\r\nlabel=Product Disc\r\n", "intro.avi",
         kPlayerId, kBrowserId},
        {"page by label", "index.htm", "[autorun]\r\nLABEL=Product Disc\r\n", "Product Disc", kBrowserId, kPlayerId},
        {"page without label, before its title is reported", "index.htm", nullptr, "", kBrowserId, kPlayerId},
        {".html is a page", "index.html", "LABEL=Menu Disc\r\n", "Menu Disc", kBrowserId, kPlayerId},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(box_.Path("autorun.inf").c_str());
        if (c.autorunInf)
            box_.Write("autorun.inf", c.autorunInf);
        Process p(exe_, std::string(c.target) + " 1 0", box_.Dir());
        HWND viewer = Open(p);
        if (!viewer)
            continue;
        EXPECT_EQ(c.title, Title(viewer));
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(viewer, c.shown)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(viewer, c.hidden)));
        Close(p, viewer);
    }
}

TEST_F(Viewer, EscClosesAtOnce) {
    Process p(exe_, "index.htm 1 0", box_.Dir());
    HWND viewer = Open(p);
    ASSERT_TRUE(viewer);
    // The key goes where the user's would: to the window that has the focus in the viewer,
    // through the viewer's own message loop.
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(viewer, nullptr), &info));
    HWND focus = info.hwndFocus ? info.hwndFocus : viewer;
    printf("[observed] focus in the viewer: %s\n", Describe(focus).c_str());
    const double pressed = Now();
    PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(focus, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    std::string asked;
    WaitUntil(
        [&] {
            for (HWND w : p.Windows(true))
                if (w != viewer && asked.empty())
                    asked = Describe(w);
            return !p.Running();
        },
        kShowMs);
    ASSERT_TRUE(p.WaitExit(0)) << DescribeWindows(p);
    printf("[observed] ended %.2f s after Esc\n", Now() - pressed);
    EXPECT_LT(Now() - pressed, 2.0);
    EXPECT_EQ("", asked);
}

TEST_F(Viewer, MovieGoesToTheShellWhenThePlayerIsMissing) {
    const std::string recorder = box_.CopyRecorder();
    FileAssociation movies(".avi", recorder);
    Process p(exe_, "intro.avi 1 2", box_.Dir());
    std::vector<std::string> shown;
    ASSERT_TRUE(p.WatchUntilExit(kShowMs, &shown)) << DescribeWindows(p);
    EXPECT_TRUE(shown.empty()) << "an empty viewer showed: " << shown.front();

    ASSERT_TRUE(WaitRecords(box_.Path("recorded.txt"), 1, kShowMs));
    const Record r = ReadRecords(box_.Path("recorded.txt"))[0];
    EXPECT_NE(std::string::npos, r.commandLine.find(box_.Path("intro.avi"))) << r.commandLine;
}

TEST_F(Viewer, FileThatNeitherThePlayerNorTheShellCanOpenIsReported) {
    // A movie by its name (".avi" anywhere in it), of a kind that no program opens.
    box_.Write("intro.avi.vtq", "no program opens this kind");
    const struct {
        const char* target;
        const char* text;
    } cases[] = {
        {"intro.avi.vtq", "There is no application associated\nwith the given filename extension."},
        {"gone.avi", "The specified file was not found."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        Process p(exe_, std::string(c.target) + " 1 2", box_.Dir());
        HWND box = WaitMessageBox(p, kShowMs);
        ASSERT_TRUE(box) << DescribeWindows(p);
        EXPECT_EQ("Vintrosk!", Title(box));
        EXPECT_EQ("Can't open " + box_.Path(c.target) + ":\n\n" + c.text, MessageBoxText(box));
        if (std::string(c.target) == "intro.avi.vtq")
            Screenshot("cannot_open");
        Press(box, IDOK);
        EXPECT_TRUE(p.WaitExit(kShowMs)) << DescribeWindows(p);
    }
}

// One viewer per disc. A second launcher of the same disc, even one given a splash and a
// sound, shows nothing and ends, and the first viewer comes forward: restored when it was
// minimised, and found when it only appears after the first launcher's splash.
TEST_F(Viewer, SecondLauncherOfTheDiscBringsTheFirstViewerForwardAndEnds) {
    box_.Write("logo.bmp", MakeBmp(160, 120));
    box_.Write("tone.wav", MakeWav(0.5));
    Process first(exe_, "index.htm 1 1 logo.bmp", box_.Dir());
    ASSERT_TRUE(WaitUntil([&] { return !first.Windows(true).empty(); }, kShowMs)) << "no splash";

    // During the first one's splash; its own folder spelt in other letters.
    std::string upper = exe_;
    for (char& c : upper)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    Process early(upper, "index.htm 1 1 logo.bmp tone.wav", box_.Dir());
    std::vector<std::string> shown;
    EXPECT_TRUE(early.WatchUntilExit(kShowMs, &shown)) << DescribeWindows(early);
    EXPECT_TRUE(shown.empty()) << shown.front();
    HWND viewer = Open(first);
    ASSERT_TRUE(viewer);
    printf("[observed] launcher during the splash ended after %.2f s\n", early.Lifetime());

    ShowWindow(viewer, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(viewer); }, kSettleMs));
    Process second(exe_, "index.htm 1 1 logo.bmp tone.wav", box_.Dir());
    shown.clear();
    EXPECT_TRUE(second.WatchUntilExit(kShowMs, &shown)) << DescribeWindows(second);
    EXPECT_TRUE(shown.empty()) << shown.front();
    printf("[observed] second launcher ended after %.2f s\n", second.Lifetime());
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(viewer) && IsWindowVisible(viewer); }, kSettleMs)) << Describe(viewer);
    EXPECT_EQ(viewer, GetForegroundWindow()) << Describe(GetForegroundWindow());
    EXPECT_EQ(1u, first.Windows(true).size()) << DescribeWindows(first);
    Screenshot("first_viewer_forward");
    Close(first, viewer);

    // Once the first viewer is closed the disc is free again.
    Process third(exe_, "index.htm 1 1", box_.Dir());
    HWND again = Open(third);
    ASSERT_TRUE(again);
    Close(third, again);
}

TEST_F(Viewer, LauncherOfAnotherDiscOpensItsOwnViewer) {
    Sandbox other("Viewer_LauncherOfAnotherDisc_other");
    const std::string otherExe = other.CopyVintrosk("autorun.exe");
    other.Write("index.htm", "<html><head><title>Other</title></head><body>Other disc</body></html>");
    Process first(exe_, "index.htm 1 1", box_.Dir());
    HWND viewer = Open(first);
    ASSERT_TRUE(viewer);
    Process second(otherExe, "index.htm 1 1", other.Dir());
    HWND own = Open(second);
    ASSERT_TRUE(own);
    EXPECT_NE(viewer, own);
    EXPECT_TRUE(IsWindowVisible(viewer));
    // The first viewer sits centred beneath; moved aside, both show.
    SetWindowPos(own, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Screenshot("two_discs_two_viewers");
    Close(second, own);
    Close(first, viewer);
}
