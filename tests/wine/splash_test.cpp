// The splash window of the real program, seen from outside: its size and place, the picture
// on the screen while it shows, and when it goes, in the launcher and in the designer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>

#include "harness.h"

using namespace vt;

namespace {

std::string Fixture(const char* name) { return WinPath(std::string(VT_FIXTURES) + "/" + name); }

HWND FindSplash(const Process& p) {
    for (HWND w : p.Windows(true))
        if (ClassOf(w) == "#32770" && IsCaptionlessPopup(w))
            return w;
    return nullptr;
}

HWND WaitSplash(const Process& p, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindSplash(p)) != nullptr; }, timeoutMs);
    return found;
}

bool Near(COLORREF got, COLORREF want) {
    return abs(GetRValue(got) - GetRValue(want)) <= 12 && abs(GetGValue(got) - GetGValue(want)) <= 12 &&
           abs(GetBValue(got) - GetBValue(want)) <= 12;
}

// The 400 x 300 fixtures have a red block in the top-left corner, a blue one in the
// bottom-right corner and grey between. Points that the window `over` covers on the screen are
// not looked at: Wine's X11 driver draws a newly shown window above the topmost splash.
bool ShowsFixturePicture(HWND splash, HWND over = nullptr) {
    const struct {
        int x, y;
        COLORREF colour;
    } probes[] = {{5, 5, RGB(255, 0, 0)}, {30, 30, RGB(128, 128, 128)}, {392, 292, RGB(0, 0, 255)}};
    RECT covered = {};
    if (over && IsWindowVisible(over))
        covered = RectOf(over);
    HDC screen = GetDC(nullptr);
    int looked = 0, shown = 0;
    for (const auto& probe : probes) {
        POINT at = {probe.x, probe.y};
        ClientToScreen(splash, &at);
        if (PtInRect(&covered, at))
            continue;
        ++looked;
        shown += Near(GetPixel(screen, at.x, at.y), probe.colour) ? 1 : 0;
    }
    ReleaseDC(nullptr, screen);
    return looked > 0 && shown == looked;
}

// The window has the outer size given and is centred on the work area.
void ExpectCentredWithSize(HWND wnd, LONG cx, LONG cy) {
    RECT r = RectOf(wnd), work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(cx, r.right - r.left) << Describe(wnd);
    EXPECT_EQ(cy, r.bottom - r.top) << Describe(wnd);
    EXPECT_EQ(work.left + (work.right - work.left - cx) / 2, r.left) << Describe(wnd);
    EXPECT_EQ(work.top + (work.bottom - work.top - cy) / 2, r.top) << Describe(wnd);
}

// Whether the window's thread handles a message within a short time.
bool Answers(HWND wnd) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(wnd, WM_NULL, 0, 0, SMTO_NORMAL, 300, &result) != 0;
}

struct Picture {
    const char* fixture;
    const char* as; // the name on the launch list
};
void PrintTo(const Picture& p, std::ostream* out) { *out << p.as; }

class LauncherSplash : public ::testing::TestWithParam<Picture> {};

// The launcher blocks for the splash time: the picture must be on the screen from the start
// to the end of it, without a single message handled.
TEST_P(LauncherSplash, ShowsPictureCentredForTwoSecondsWhileBlocked) {
    Sandbox box;
    box.CopyVintrosk();
    box.Copy(Fixture(GetParam().fixture), GetParam().as);
    Process p(box.Path("Vintrosk.exe"), std::string("none 0 0 ") + GetParam().as, box.Dir());
    HWND splash = WaitSplash(p, 20000);
    ASSERT_TRUE(splash) << DescribeWindows(p);
    const double seen = Now();
    ExpectCentredWithSize(splash, 405, 305);

    ASSERT_TRUE(WaitUntil([&] { return ShowsFixturePicture(splash); }, 1000)) << "picture not on the screen";
    Screenshot("during");
    EXPECT_FALSE(Answers(splash)) << "the launcher handles messages during the splash time";
    int samples = 0, missing = 0;
    double lastSample = seen;
    while (IsWindowVisible(splash)) {
        bool shown = ShowsFixturePicture(splash);
        if (!IsWindowVisible(splash))
            break; // hidden while we looked
        ++samples;
        missing += shown ? 0 : 1;
        lastSample = Now();
        Sleep(100);
    }
    const double hiddenAfter = Now() - seen;
    EXPECT_EQ(0, missing) << "of " << samples << " looks at the screen";
    // First seen a little late at worst, so a little under two seconds.
    EXPECT_GE(lastSample - seen, 1.0) << "looked at the screen for too short a time";
    EXPECT_GE(hiddenAfter, 1.5);
    EXPECT_TRUE(p.WaitExit(10000)) << "with nothing to open or play, the launcher ends after the splash";
}

INSTANTIATE_TEST_SUITE_P(Formats, LauncherSplash,
                         ::testing::Values(Picture{"pic400x300.jpg", "logo.jpg"}, Picture{"pic400x300.bmp", "logo.bmp"},
                                           Picture{"pic400x300.gif", "logo.gif"}),
                         [](const ::testing::TestParamInfo<Picture>& info) {
                             return std::string(info.param.as).substr(5);
                         });

TEST(LauncherSplash, PictureThatCannotBeLoadedGivesAFiveByFiveWindow) {
    struct Case {
        const char* fixture; // copied in as the splash, or none
        const char* as;
    } cases[] = {
        {nullptr, "missing.jpg"},
        {"notapicture.jpg", "text.jpg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.as);
        Sandbox box(std::string("LauncherSplash_unloadable_") + c.as);
        box.CopyVintrosk();
        if (c.fixture)
            box.Copy(Fixture(c.fixture), c.as);
        Process p(box.Path("Vintrosk.exe"), std::string("none 0 0 ") + c.as, box.Dir());
        HWND splash = WaitSplash(p, 20000);
        ASSERT_TRUE(splash) << DescribeWindows(p);
        const double seen = Now();
        ExpectCentredWithSize(splash, 5, 5);
        // It still gets its splash time, then the launcher ends.
        ASSERT_TRUE(p.WaitExit(10000));
        EXPECT_GE(Now() - seen, 1.5);
    }
}

// A picture larger than the work area is shown whole, scaled down with its shape kept, inside
// the work area with room to spare, centred, and averaged rather than thinned out: the middle
// stripes look grey. How long the window takes to come is printed for the record.
struct Large {
    int width, height;
};
void PrintTo(const Large& l, std::ostream* out) { *out << l.width << "x" << l.height; }

class LargeSplash : public ::testing::TestWithParam<Large> {};

TEST_P(LargeSplash, FitsTheWorkAreaWholeCentredAndSmooth) {
    const Large large = GetParam();
    Sandbox box;
    box.CopyVintrosk();
    const std::string jpeg = MakeJpeg(large.width, large.height);
    ASSERT_FALSE(jpeg.empty());
    box.Write("big.jpg", jpeg);
    Process p(box.Path("Vintrosk.exe"), "none 0 0 big.jpg", box.Dir());
    HWND splash = WaitSplash(p, 60000);
    ASSERT_TRUE(splash) << DescribeWindows(p);
    printf("[observed] %dx%d JPEG of %zu bytes: splash window %.2f s after the start\n", large.width, large.height,
           jpeg.size(), p.SinceStart());

    RECT r = RectOf(splash), work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const LONG cx = r.right - r.left, cy = r.bottom - r.top;
    EXPECT_GT(r.left, work.left) << Describe(splash);
    EXPECT_GT(r.top, work.top) << Describe(splash);
    EXPECT_LT(r.right, work.right) << Describe(splash);
    EXPECT_LT(r.bottom, work.bottom) << Describe(splash);
    ExpectCentredWithSize(splash, cx, cy);
    // Fitted, not merely shrunk: one side takes the work area but for a small margin.
    const double filled = std::max(static_cast<double>(cx) / (work.right - work.left),
                                   static_cast<double>(cy) / (work.bottom - work.top));
    EXPECT_GT(filled, 0.9) << Describe(splash);
    // The picture is the window less its margin of 5 pixels; its shape is the file's.
    const LONG pw = cx - 5, ph = cy - 5;
    EXPECT_NEAR(static_cast<double>(pw) / ph, static_cast<double>(large.width) / large.height, 0.01) << pw << "x" << ph;

    const struct {
        double fx, fy;
        int tolerance;
    } probes[] = {
        {0.04, 0.04, 12}, {0.96, 0.96, 12},                   // the corners' blocks: the whole picture
        {0.25, 0.5, 12},  {0.75, 0.3, 12},                    // flat grey
        {0.5, 0.5, 40},   {0.43, 0.45, 40}, {0.57, 0.56, 40}, // stripes averaged to grey
    };
    auto shows = [&](std::string* wrong) {
        HDC screen = GetDC(nullptr);
        bool all = true;
        for (const auto& probe : probes) {
            POINT at = {static_cast<LONG>(probe.fx * pw), static_cast<LONG>(probe.fy * ph)};
            ClientToScreen(splash, &at);
            const COLORREF got = GetPixel(screen, at.x, at.y), want = JpegColourAt(probe.fx, probe.fy);
            if (abs(GetRValue(got) - GetRValue(want)) > probe.tolerance ||
                abs(GetGValue(got) - GetGValue(want)) > probe.tolerance ||
                abs(GetBValue(got) - GetBValue(want)) > probe.tolerance) {
                all = false;
                if (wrong) {
                    char line[96];
                    snprintf(line, sizeof line, "(%.2f, %.2f) is %06lx; ", probe.fx, probe.fy,
                             static_cast<unsigned long>(got));
                    *wrong += line;
                }
            }
        }
        ReleaseDC(nullptr, screen);
        return all;
    };
    const bool shown = WaitUntil([&] { return shows(nullptr); }, 1000);
    Screenshot("fitted");
    std::string wrong;
    EXPECT_TRUE(shown && shows(&wrong)) << wrong;
    EXPECT_TRUE(p.WaitExit(20000));
}

INSTANTIATE_TEST_SUITE_P(Sizes, LargeSplash, ::testing::Values(Large{1600, 1200}, Large{8000, 8000}),
                         [](const ::testing::TestParamInfo<Large>& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

TEST(DesignerSplash, ShowsSplashscreenJpgBesideTheProgramThenHidesItWhileTheDesignerStays) {
    Sandbox box;
    box.CopyVintrosk();
    box.Copy(Fixture("pic400x300.jpg"), "splashscreen.jpg");
    Process p(box.Path("Vintrosk.exe"), "design", box.Dir());
    HWND splash = WaitSplash(p, 20000);
    ASSERT_TRUE(splash) << DescribeWindows(p);
    const double seen = Now();
    ExpectCentredWithSize(splash, 405, 305);
    // The designer may come up at any moment. It opens centred, and Wine draws it over the
    // topmost splash, so it would hide all of the picture; moved to the top-left corner it
    // leaves part of the picture to be seen.
    EXPECT_TRUE(WaitUntil(
        [&] {
            HWND designer = FindWindowOf(p, "Vintrosk!", nullptr);
            if (designer)
                SetWindowPos(designer, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return ShowsFixturePicture(splash, designer);
        },
        1000))
        << "picture not on the screen";

    HWND designer = WaitWindow(p, "Vintrosk!", nullptr, 20000);
    ASSERT_TRUE(designer) << DescribeWindows(p);
    Screenshot("splash_over_designer");
    // The splash stays above the designer until it goes. (Wine draws the designer over it all
    // the same, so this asks Win32's window order rather than the screen.)
    EXPECT_TRUE(GetWindowLongA(splash, GWL_EXSTYLE) & WS_EX_TOPMOST) << Describe(splash);
    POINT corner = {5, 5};
    ClientToScreen(splash, &corner);
    const HWND top = GetAncestor(WindowFromPoint(corner), GA_ROOT);
    if (IsWindowVisible(splash)) {
        EXPECT_EQ(splash, top) << Describe(top);
    }
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(splash); }, 10000));
    const double hiddenAfter = Now() - seen;
    EXPECT_GE(hiddenAfter, 1.5);
    EXPECT_LE(hiddenAfter, 6.0);
    // Hidden, not destroyed; the designer stays.
    EXPECT_TRUE(IsWindow(splash));
    EXPECT_TRUE(IsWindowVisible(designer));
    EXPECT_TRUE(p.Running());
}

} // namespace
