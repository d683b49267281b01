// The real program on a screen scaled to 100, 125, 150 or 200 %, seen from outside: the
// designer keeps the geometry of its template in dialog units and shows its icons at the
// scale's size, the splash of a 400 x 300 picture and the viewer's "640x480" window grow with
// the scale, and so does the viewer's smallest size. dpi_test.sh runs it once per scale in a
// Wine prefix of its own whose LogPixels it sets (VT_DPI says which); screenshots of each
// window are kept for a look by eye beside the 96 dpi ones.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "designer/designer_ids.h"
#include "copy_wait.h"
#include "harness.h"

using namespace vt;

namespace {

// This process sees the screen as it is, like the program it watches; an unaware one might be
// shown scaled coordinates.
const bool kAware = [] {
    typedef BOOL(WINAPI * SetAware)();
    if (auto set = reinterpret_cast<SetAware>(
            reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("user32"), "SetProcessDPIAware"))))
        return set() != FALSE;
    return false;
}();

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int Scaled(int pixels) { return MulDiv(pixels, ScreenDpi(), 96); }
std::string Tag(const char* what) { return std::string(what) + "_" + std::to_string(ScreenDpi()); }

RECT ClientRectIn(HWND dialog, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Text(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// The dialog base units of the program's templates (MS Sans Serif 8) at this screen's scale,
// worked out as the dialog manager does it: the font at 8 points of this resolution, its
// average width from the letters, its height.
SIZE DialogBaseUnits() {
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontA(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, 0, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, FF_DONTCARE, "MS Sans Serif");
    HGDIOBJ old = SelectObject(dc, font);
    typedef LONG(WINAPI * CharDimensions)(HDC, TEXTMETRICW*, LONG*);
    auto dimensions = reinterpret_cast<CharDimensions>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("gdi32"), "GdiGetCharDimensions")));
    LONG height = 0;
    const LONG width = dimensions ? dimensions(dc, nullptr, &height) : 0;
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return SIZE{width, height};
}

TEST(Scaled, ScreenIsAtTheDpiAsked) {
    EXPECT_TRUE(kAware);
    if (const char* asked = getenv("VT_DPI")) {
        EXPECT_EQ(atoi(asked), ScreenDpi());
    }
    EXPECT_EQ(Scaled(32), GetSystemMetrics(SM_CXICON));
}

TEST(Scaled, DesignerKeepsItsDialogUnitsAndShowsIconsOfTheScale) {
    Sandbox box;
    Process p(box.CopyVintrosk(), "design", box.Dir());
    HWND designer = WaitWindow(p, "Vintrosk!", "#32770", 20000);
    ASSERT_TRUE(designer) << DescribeWindows(p);
    const SIZE units = DialogBaseUnits();
    ASSERT_GT(units.cx, 0);
    auto x = [&](int dlu) { return MulDiv(dlu, units.cx, 4); };
    auto y = [&](int dlu) { return MulDiv(dlu, units.cy, 8); };

    RECT client{};
    GetClientRect(designer, &client);
    EXPECT_EQ(x(339), client.right);
    EXPECT_EQ(y(229), client.bottom);
    const struct {
        int id, left, top, width, height; // dialog units, as the template has them
    } controls[] = {
        {IDC_TARGET_NAME, 15, 20, 155, 14},
        {IDC_SELECT_FILE, 249, 20, 50, 14},
        {IDC_BROWSER_OPTION, 15, 53, 226, 10},
        {IDC_SELECT_SOUND, 249, 153, 50, 14},
        {IDOK, 7, 208, 50, 14},
        {IDCANCEL, 282, 208, 50, 14},
    };
    for (const auto& c : controls) {
        const RECT expected = {x(c.left), y(c.top), x(c.left) + x(c.width), y(c.top) + y(c.height)};
        const RECT got = ClientRectIn(designer, GetDlgItem(designer, c.id));
        EXPECT_TRUE(EqualRect(&expected, &got)) << c.id << ": " << Text(got) << ", not " << Text(expected);
    }
    // The five group icons, each at the size of the scale.
    int icons = 0;
    for (HWND child = GetWindow(designer, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != "Static" || (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            continue;
        ++icons;
        const RECT r = RectOf(child);
        EXPECT_EQ(Scaled(32), r.right - r.left) << Describe(child);
        EXPECT_EQ(Scaled(32), r.bottom - r.top) << Describe(child);
    }
    EXPECT_EQ(5, icons);
    Screenshot(Tag("designer"));
    Press(designer, IDCANCEL);
    EXPECT_TRUE(p.WaitExit(10000));
}

bool Near(COLORREF got, COLORREF want) {
    return abs(GetRValue(got) - GetRValue(want)) <= 12 && abs(GetGValue(got) - GetGValue(want)) <= 12 &&
           abs(GetBValue(got) - GetBValue(want)) <= 12;
}

// The 400 x 300 fixture (a red block top-left, a blue one bottom-right, grey between) drawn
// at the scale's size: its far corner lies that much further out.
std::string PictureFault(HWND splash) {
    const struct {
        int x, y;
        COLORREF colour;
    } probes[] = {{5, 5, RGB(255, 0, 0)},
                  {30, 30, RGB(128, 128, 128)},
                  {392, 292, RGB(0, 0, 255)},
                  {397, 297, RGB(0, 0, 255)},
                  {200, 150, RGB(128, 128, 128)}};
    std::string fault;
    HDC screen = GetDC(nullptr);
    for (const auto& probe : probes) {
        POINT at = {Scaled(probe.x), Scaled(probe.y)};
        ClientToScreen(splash, &at);
        const COLORREF got = GetPixel(screen, at.x, at.y);
        if (!Near(got, probe.colour))
            fault += "(" + std::to_string(probe.x) + "," + std::to_string(probe.y) + ") ";
    }
    ReleaseDC(nullptr, screen);
    return fault;
}

// The launcher's splash: its captionless popup dialog, once shown.
HWND WaitForSplash(const Process& p) {
    HWND splash = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : p.Windows(true))
                if (ClassOf(w) == "#32770" && IsCaptionlessPopup(w))
                    splash = w;
            return splash != nullptr;
        },
        20000);
    return splash;
}

TEST(Scaled, SplashOfA400By300PictureGrowsWithTheScale) {
    Sandbox box;
    box.CopyVintrosk();
    box.Copy(WinPath(std::string(VT_FIXTURES) + "/pic400x300.jpg"), "logo.jpg");
    Process p(box.Path("Vintrosk.exe"), "none 0 0 logo.jpg", box.Dir());
    const HWND splash = WaitForSplash(p);
    ASSERT_TRUE(splash) << DescribeWindows(p);
    const RECT r = RectOf(splash);
    EXPECT_EQ(Scaled(400) + Scaled(5), r.right - r.left) << Describe(splash);
    EXPECT_EQ(Scaled(300) + Scaled(5), r.bottom - r.top) << Describe(splash);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(work.left + (work.right - work.left - (r.right - r.left)) / 2, r.left);
    std::string fault;
    EXPECT_TRUE(WaitUntil([&] { return (fault = PictureFault(splash)).empty(); }, 1500)) << "not as drawn at " << fault;
    Screenshot(Tag("splash"));
    EXPECT_TRUE(p.WaitExit(10000));
}

// A picture larger than the screen at its scale fits the work area with its margin of the
// scale, shape kept, drawn whole once (not grown again by the scale): both corners' blocks show.
TEST(Scaled, SplashLargerThanTheScreenFitsItsWorkArea) {
    Sandbox box;
    box.CopyVintrosk();
    box.Write("big.jpg", MakeJpeg(1600, 1200));
    Process p(box.Path("Vintrosk.exe"), "none 0 0 big.jpg", box.Dir());
    const HWND splash = WaitForSplash(p);
    ASSERT_TRUE(splash) << DescribeWindows(p);
    const RECT r = RectOf(splash);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(r.left > work.left && r.top > work.top && r.right < work.right && r.bottom < work.bottom)
        << Describe(splash);
    const int pw = r.right - r.left - Scaled(5), ph = r.bottom - r.top - Scaled(5);
    EXPECT_NEAR(static_cast<double>(pw) / ph, 4.0 / 3, 0.01) << pw << "x" << ph;
    EXPECT_GT(r.bottom - r.top, (work.bottom - work.top) * 9 / 10) << Describe(splash);
    auto at = [&](double fx, double fy) {
        POINT point = {static_cast<LONG>(fx * pw), static_cast<LONG>(fy * ph)};
        ClientToScreen(splash, &point);
        HDC screen = GetDC(nullptr);
        const COLORREF got = GetPixel(screen, point.x, point.y);
        ReleaseDC(nullptr, screen);
        return got;
    };
    EXPECT_TRUE(
        WaitUntil([&] { return Near(at(0.04, 0.04), RGB(255, 0, 0)) && Near(at(0.96, 0.96), RGB(0, 0, 255)); }, 1500))
        << std::hex << at(0.04, 0.04) << " " << at(0.96, 0.96);
    Screenshot(Tag("large_splash"));
    EXPECT_TRUE(p.WaitExit(10000));
}

TEST(Scaled, ViewersSizeAndSmallestSizeGrowWithTheScale) {
    Sandbox box;
    const std::string exe = box.CopyVintrosk("autorun.exe");
    box.Write("index.htm", "<html><head><title>Menu</title></head><body>Menu</body></html>");
    Process p(exe, "index.htm 1 1", box.Dir());
    HWND viewer = WaitWindow(p, nullptr, "#32770", 15000);
    ASSERT_TRUE(viewer) << DescribeWindows(p);
    RECT r = RectOf(viewer);
    EXPECT_EQ(Scaled(640), r.right - r.left) << Describe(viewer);
    EXPECT_EQ(Scaled(480), r.bottom - r.top) << Describe(viewer);
    Screenshot(Tag("viewer_640x480"));
    // The system holds a sizing window to its minimum tracking size, as while dragging.
    SetWindowPos(viewer, nullptr, 0, 0, 40, 30, SWP_NOMOVE | SWP_NOZORDER);
    r = RectOf(viewer);
    EXPECT_EQ(Scaled(450), r.right - r.left) << Describe(viewer);
    EXPECT_EQ(Scaled(300), r.bottom - r.top) << Describe(viewer);
    Press(viewer, IDCANCEL);
    EXPECT_TRUE(p.WaitExit(10000));
}

// The copy action's wait window fits both ends of long paths into its text at every scale.
TEST(Scaled, CopyWaitWindowShowsBothEndsOfLongPaths) { ExpectLongCopyShownWhole(Tag("copy_wait")); }

} // namespace
