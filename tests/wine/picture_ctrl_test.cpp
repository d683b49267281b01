// The picture, static link, picture control and splash window classes of the program, run in
// this process on real windows and the real OLE picture loader: loading and drawing, erasing
// around the picture, link looks, cursor and clicks, and the splash window's own sizing.
#include <gtest/gtest.h>
#include <ole2.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "controls/ole_picture.h"
#include "controls/picture_ctrl.h"
#include "controls/picture_shrink_win.h"
#include "controls/splash_dlg.h"
#include "controls/static_link.h"
#include "framework/dialog.h"
#include "framework/wide.h"
#include "harness.h"

namespace {

// Controls of the host dialog 500 (picture_ctrl_test.rc).
const int kHostDlg = 500;
const int kLinkText = 601;      // text and string 601: a web address
const int kNoString = 602;      // no string 601 of its own
const int kStringThird = 603;   // empty text, string "third.doc"
const int kFrame = 604;         // a black frame with a string
const int kImageResource = 701; // IMAGE 701 is small.bmp

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 160, 0), kBlue = RGB(0, 0, 255), kGrey = RGB(128, 128, 128),
               kYellow = RGB(255, 255, 0), kWhite = RGB(255, 255, 255);

class OleEnvironment : public ::testing::Environment {
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }
};
::testing::Environment* const kOle = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

std::string Fixture(const char* name) { return vt::WinPath(std::string(VT_FIXTURES) + "/" + name); }

// JPEG decoding may shift a colour by a few steps.
bool Near(COLORREF got, COLORREF want) {
    return abs(GetRValue(got) - GetRValue(want)) <= 12 && abs(GetGValue(got) - GetGValue(want)) <= 12 &&
           abs(GetBValue(got) - GetBValue(want)) <= 12;
}

std::string Hex(COLORREF c) {
    char buf[16];
    snprintf(buf, sizeof buf, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
    return buf;
}

SIZE SizeOf(const COlePicture& picture) { return picture.GetPixelSize(nullptr); }

// A white 32-bit canvas in a memory context.
class Canvas {
public:
    Canvas(int w, int h) : m_dc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof bi.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        Fill(kWhite);
        m_w = w, m_h = h;
    }
    ~Canvas() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    void Fill(COLORREF colour) {
        HBRUSH brush = CreateSolidBrush(colour);
        RECT all = {0, 0, 10000, 10000};
        FillRect(m_dc, &all, brush);
        DeleteObject(brush);
    }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }
    HDC dc() const { return m_dc; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    int m_w = 0, m_h = 0;
};

// A point and the colour expected there.
struct Probe {
    int x, y;
    COLORREF colour;
};

// --- COlePicture --------------------------------------------------------------------------

TEST(OlePicture, LoadsBitmapJpegAndGifFilesAtTheirPixelSize) {
    struct Case {
        const char* file;
        LONG cx, cy;
    } cases[] = {
        {"pic400x300.bmp", 400, 300},
        {"pic400x300.jpg", 400, 300},
        {"pic400x300.gif", 400, 300},
        {"small.bmp", 40, 30},
    };
    for (const Case& c : cases) {
        COlePicture picture;
        EXPECT_TRUE(picture.LoadFromFile(Fixture(c.file))) << c.file;
        SIZE size = SizeOf(picture);
        EXPECT_EQ(c.cx, size.cx) << c.file;
        EXPECT_EQ(c.cy, size.cy) << c.file;
    }
}

TEST(OlePicture, LoadsFromStreamAndFromImageResource) {
    COlePicture picture;
    EXPECT_TRUE(picture.LoadFromResource(kImageResource));
    EXPECT_EQ(40, SizeOf(picture).cx);

    vt::Sandbox box;
    box.Copy(Fixture("pic400x300.jpg"), "pic.jpg");
    std::string bytes = box.Read("pic.jpg");
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    ASSERT_TRUE(SUCCEEDED(CreateStreamOnHGlobal(memory, TRUE, &stream)));
    EXPECT_TRUE(picture.LoadFromStream(stream));
    stream->Release();
    EXPECT_EQ(400, SizeOf(picture).cx);
    EXPECT_EQ(300, SizeOf(picture).cy);
}

// A name outside any ANSI code page: the path reaches the file system whole, as UTF-16.
TEST(OlePicture, LoadsAFileWithAJapaneseName) {
    vt::Sandbox box;
    const std::string name = "\xe6\x97\xa5\xe6\x9c\xac.bmp"; // 日本.bmp in UTF-8
    const fw::WString wide = fw::Widen(box.Dir()) + L"\\\u65e5\u672c.bmp";
    ASSERT_TRUE(CopyFileW(fw::Widen(Fixture("small.bmp")).c_str(), wide.c_str(), FALSE));
    COlePicture picture;
    EXPECT_TRUE(picture.LoadFromFile(box.Path(name)));
    EXPECT_EQ(40, SizeOf(picture).cx);
    EXPECT_EQ(30, SizeOf(picture).cy);
    picture.LoadFromStream(nullptr); // lets the file go
    EXPECT_TRUE(DeleteFileW(wide.c_str()));
}

TEST(OlePicture, FailedOpenKeepsThePictureUndecodableDataEmptiesIt) {
    vt::Sandbox box;
    box.Copy(Fixture("small.bmp"), "locked.bmp");
    // Another program writing the file: it cannot be opened with others denied write access.
    HANDLE writer = CreateFileA(box.Path("locked.bmp").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);

    COlePicture picture;
    ASSERT_TRUE(picture.LoadFromFile(Fixture("pic400x300.gif")));
    struct Step {
        const char* what;
        bool loaded;
        LONG cx; // width afterwards
    };
    const Step steps[] = {
        {"missing file", picture.LoadFromFile(box.Path("missing.jpg")) != FALSE, SizeOf(picture).cx},
        {"file locked for writing", picture.LoadFromFile(box.Path("locked.bmp")) != FALSE, SizeOf(picture).cx},
        {"empty path", picture.LoadFromFile("") != FALSE, SizeOf(picture).cx},
        {"folder", picture.LoadFromFile(box.Dir()) != FALSE, SizeOf(picture).cx},
        {"no such resource", picture.LoadFromResource(999) != FALSE, SizeOf(picture).cx},
        {"not a picture", picture.LoadFromFile(Fixture("notapicture.jpg")) != FALSE, SizeOf(picture).cx},
    };
    CloseHandle(writer);
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(steps[i].loaded) << steps[i].what;
        EXPECT_EQ(400, steps[i].cx) << steps[i].what << ": the old picture stays";
    }
    EXPECT_FALSE(steps[5].loaded) << "undecodable data is no success";
    EXPECT_EQ(0, steps[5].cx) << "undecodable data leaves the holder empty";
    EXPECT_TRUE(picture.IsEmpty());
}

TEST(OlePicture, RenderIntoDrawsTheWholePictureUpright) {
    COlePicture picture;
    Canvas canvas(500, 400);
    EXPECT_FALSE(picture.RenderInto(canvas.dc(), RECT{0, 0, 0, 0})) << "nothing to draw";
    EXPECT_EQ(kWhite, canvas.At(5, 5));

    ASSERT_TRUE(picture.LoadFromFile(Fixture("pic400x300.bmp")));
    struct Case {
        RECT dest;
        std::vector<Probe> probes;
    } cases[] = {
        // All zero: natural size at (0, 0). Red is the picture's top-left corner, blue its
        // bottom-right one: an upside-down picture would swap them vertically.
        {{0, 0, 0, 0}, {{5, 5, kRed}, {395, 295, kBlue}, {5, 295, kGrey}, {405, 150, kWhite}, {200, 305, kWhite}}},
        // Stretched into the rectangle, each axis on its own.
        {{0, 0, 200, 300}, {{5, 5, kRed}, {195, 295, kBlue}, {205, 150, kWhite}}},
        {{100, 50, 300, 125}, {{102, 52, kRed}, {298, 123, kBlue}, {95, 60, kWhite}, {200, 130, kWhite}}},
    };
    for (const Case& c : cases) {
        canvas.Fill(kWhite);
        EXPECT_TRUE(picture.RenderInto(canvas.dc(), c.dest));
        for (const Probe& p : c.probes)
            EXPECT_TRUE(Near(canvas.At(p.x, p.y), p.colour))
                << "dest (" << c.dest.left << "," << c.dest.top << ")-(" << c.dest.right << "," << c.dest.bottom
                << ") at " << p.x << "," << p.y << ": " << Hex(canvas.At(p.x, p.y)) << " not " << Hex(p.colour);
    }
}

// --- CPictureFile -------------------------------------------------------------------------

// Each format is measured before it is drawn and averaged down whole: the corners' blocks land
// in the corners of the smaller bitmap, which a picture then takes over at that size.
TEST(PictureFile, MeasuresAndAveragesDownEachFormat) {
    for (const char* file : {"pic400x300.bmp", "pic400x300.jpg", "pic400x300.gif"}) {
        CPictureFile picture;
        ASSERT_TRUE(picture.Open(Fixture(file))) << file;
        EXPECT_EQ(400, picture.PixelSize().cx) << file;
        EXPECT_EQ(300, picture.PixelSize().cy) << file;
        EXPECT_FALSE(picture.Shrunk(fw::Size{401, 300}, kWhite)) << file << ": never larger";
        COlePicture shown;
        ASSERT_TRUE(shown.LoadFromBitmap(picture.Shrunk(fw::Size{200, 150}, kWhite))) << file;
        EXPECT_EQ(200, SizeOf(shown).cx) << file;
        EXPECT_EQ(150, SizeOf(shown).cy) << file;
        Canvas canvas(300, 200);
        EXPECT_TRUE(shown.RenderInto(canvas.dc(), RECT{0, 0, 0, 0}));
        for (const Probe& p :
             {Probe{3, 3, kRed}, Probe{196, 146, kBlue}, Probe{100, 75, kGrey}, Probe{250, 100, kWhite}})
            EXPECT_TRUE(Near(canvas.At(p.x, p.y), p.colour))
                << file << " at " << p.x << "," << p.y << ": " << Hex(canvas.At(p.x, p.y));
    }
}

TEST(PictureFile, DoesNotOpenWhatIsNoPicture) {
    vt::Sandbox box;
    for (const std::string& path : {Fixture("notapicture.jpg"), box.Path("missing.jpg"), box.Dir()}) {
        CPictureFile picture;
        EXPECT_FALSE(picture.Open(path)) << path;
        EXPECT_FALSE(picture.Shrunk(fw::Size{10, 10}, kWhite)) << path;
    }
    EXPECT_FALSE(COlePicture().LoadFromBitmap(nullptr));
}

// --- Controls in a dialog -----------------------------------------------------------------

// A modeless dialog that gives its statics a yellow background, so that what the picture
// control erases shows.
class HostDlg : public fw::ModelessDialog {
public:
    HostDlg() : fw::ModelessDialog(kHostDlg, nullptr), m_brush(CreateSolidBrush(kYellow)) { EXPECT_TRUE(Create()); }
    ~HostDlg() override {
        if (m_hWnd)
            DestroyWindow();
        DeleteObject(m_brush);
    }
    HWND Item(int id) const { return GetDlgItem(id); }

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
        if (msg != WM_CTLCOLORSTATIC)
            return false;
        SetBkColor(reinterpret_cast<HDC>(wp), kYellow);
        result = reinterpret_cast<LRESULT>(m_brush);
        return true;
    }

private:
    HBRUSH m_brush;
};

// What a link asks of the shell and of the user, scripted.
struct Script {
    std::set<std::string> opens; // targets the shell can open
    std::vector<std::string> tried;
    int beeps = 0;
};

template <class Base>
class Scripted : public Base {
public:
    template <class... Args>
    explicit Scripted(Script& script, Args... args) : Base(args...), m_script(script) {}
    ~Scripted() override { ++destroyed; }
    static int destroyed;

protected:
    bool OpenTarget(const std::string& target) override {
        m_script.tried.push_back(target);
        return m_script.opens.count(target) > 0;
    }
    void BeepFailure() override { ++m_script.beeps; }

private:
    Script& m_script;
};
template <class Base>
int Scripted<Base>::destroyed = 0;

// How the control's text is drawn: what the dialog answers for it with reflection.
struct Look {
    bool hollow; // the parent's background shows through
    COLORREF text;
    bool underlined;
    LONG fontHeight;
};

Look LookOf(HWND dlg, HWND control) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageA(dlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    LOGFONTA font{};
    GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    Look look{brush == GetStockObject(NULL_BRUSH) && GetBkMode(dc) == TRANSPARENT, GetTextColor(dc),
              font.lfUnderline != 0, font.lfHeight};
    DeleteDC(dc);
    return look;
}

// Whether the control puts up a link cursor of its own when the mouse is over it.
bool ShowsLinkCursor(HWND control) {
    HCURSOR before = LoadCursor(nullptr, IDC_CROSS), arrow = LoadCursor(nullptr, IDC_ARROW);
    SetCursor(before);
    LRESULT answered =
        SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    HCURSOR now = GetCursor();
    return answered && now && now != before && now != arrow;
}

void Click(HWND control) { SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2)); }

TEST(StaticLink, PictureControlWithoutStringOfItsIdIsNotALink) {
    HostDlg host;
    Script script;
    Scripted<CPictureCtrl> picture(script, TRUE);
    ASSERT_TRUE(picture.SubclassDlgItem(kNoString, host));
    SetWindowTextA(host.Item(kNoString), "https://vintrosk.example/"); // even with an address as text

    EXPECT_FALSE(ShowsLinkCursor(picture));
    EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), GetCursor()) << "the plain static's arrow";
    Look look = LookOf(host, picture);
    EXPECT_FALSE(look.hollow);
    EXPECT_FALSE(look.underlined);
    Click(picture);
    EXPECT_TRUE(script.tried.empty());
    EXPECT_EQ(0, script.beeps);
}

TEST(StaticLink, LinkIsBlueUnderlinedOverItsParentWithAHandCursor) {
    HostDlg host;
    Script script;
    script.opens = {"https://vintrosk.example/frame"};
    Scripted<CPictureCtrl> picture(script, TRUE); // string 601 exists: a link
    Scripted<CStaticLink> frame(script, "https://vintrosk.example/frame", FALSE);
    ASSERT_TRUE(picture.SubclassDlgItem(kLinkText, host));
    ASSERT_TRUE(frame.SubclassDlgItem(kFrame, host));

    Look look = LookOf(host, picture);
    EXPECT_TRUE(look.hollow);
    EXPECT_EQ(CStaticLink::kUnvisited, look.text) << Hex(look.text);
    EXPECT_TRUE(look.underlined);
    EXPECT_TRUE(ShowsLinkCursor(picture));

    // A frame keeps its parent's colours, yet stays a link.
    EXPECT_FALSE(LookOf(host, frame).hollow);
    EXPECT_TRUE(ShowsLinkCursor(frame));
    Click(frame);
    EXPECT_EQ(std::vector<std::string>{"https://vintrosk.example/frame"}, script.tried);
}

// On a screen of another scale the dialog hands its controls a font of that scale: the link's
// underlined copy is made anew from it.
TEST(StaticLink, UnderlineFollowsANewFontFromItsDialog) {
    HostDlg host;
    Script script;
    Scripted<CPictureCtrl> link(script, TRUE);
    ASSERT_TRUE(link.SubclassDlgItem(kLinkText, host));
    LOGFONTA scaled{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(host, WM_GETFONT, 0, 0)), sizeof scaled, &scaled);
    EXPECT_EQ(scaled.lfHeight, LookOf(host, link).fontHeight);
    scaled.lfHeight = scaled.lfHeight * 3 / 2;
    HFONT font = CreateFontIndirectA(&scaled);
    SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const Look look = LookOf(host, link);
    EXPECT_TRUE(look.underlined);
    EXPECT_EQ(scaled.lfHeight, look.fontHeight);
    DestroyWindow(host);
    DeleteObject(font);
}

TEST(StaticLink, ClickTriesTargetThenWindowTextThenStringOfItsId) {
    const std::string kText = "https://vintrosk.example/", kThird = "third.doc";
    struct Case {
        const char* what;
        int id;
        const char* target;
        const char* text;
        std::set<std::string> opens;
        std::vector<std::string> tried; // on the first click
        bool opened;
        std::vector<std::string> triedAgain; // on a second click
    } cases[] = {
        {"target opens", kStringThird, "readme.txt", "", {"readme.txt"}, {"readme.txt"}, true, {"readme.txt"}},
        // An empty target fails without asking the shell; the text becomes the target.
        {"empty target, text opens", kLinkText, "", kText.c_str(), {kText}, {kText}, true, {kText}},
        {"only the string opens",
         kStringThird,
         "gone.doc",
         "gone too.doc",
         {kThird},
         {"gone.doc", "gone too.doc", kThird},
         true,
         {kThird}},
        {"nothing opens",
         kStringThird,
         "gone.doc",
         "gone too.doc",
         {},
         {"gone.doc", "gone too.doc", kThird},
         false,
         {}},
        {"no source at all", kNoString, "", "", {}, {}, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HostDlg host;
        Script script;
        script.opens = c.opens;
        Scripted<CStaticLink> link(script, c.target, FALSE);
        ASSERT_TRUE(link.SubclassDlgItem(c.id, host));
        SetWindowTextA(link, c.text);

        Click(link);
        EXPECT_EQ(c.tried, script.tried);
        if (c.opened) {
            EXPECT_EQ(0, script.beeps);
            EXPECT_EQ(CStaticLink::kVisited, LookOf(host, link).text) << "visited: purple";
            EXPECT_TRUE(ShowsLinkCursor(link));
        } else {
            EXPECT_EQ(1, script.beeps);
            // A plain static for good: no link look, no hand, clicks ignored.
            EXPECT_FALSE(LookOf(host, link).hollow);
            EXPECT_FALSE(LookOf(host, link).underlined);
            EXPECT_FALSE(ShowsLinkCursor(link));
        }
        script.tried.clear();
        script.opens.insert(c.target); // even a target that would open now
        Click(link);
        EXPECT_EQ(c.triedAgain, script.tried);
        EXPECT_EQ(c.opened ? 0 : 1, script.beeps);
    }
}

TEST(StaticLink, TheShellOpensTheTargetOrTheLinkGivesUp) {
    vt::Sandbox box;
    const std::string program = box.CopyRecorder("opened.exe");
    HostDlg host;
    CStaticLink opens(program.c_str());
    CStaticLink fails(box.Path("missing.doc").c_str()); // and "third.doc" is nowhere either
    ASSERT_TRUE(opens.SubclassDlgItem(kNoString, host));
    ASSERT_TRUE(fails.SubclassDlgItem(kStringThird, host));

    Click(opens);
    EXPECT_TRUE(vt::WaitRecords(box.Path("recorded.txt"), 1, 10000));
    EXPECT_EQ(CStaticLink::kVisited, LookOf(host, opens).text);
    Click(fails);
    EXPECT_FALSE(ShowsLinkCursor(fails));
    EXPECT_FALSE(LookOf(host, fails).hollow);
}

// The shell gets the target whole, as UTF-16, though no ANSI code page here holds its name.
TEST(StaticLink, OpensATargetWithAGreekName) {
    vt::Sandbox box;
    const std::string target = box.Path("\xce\x91\xce\x92\xce\x93.exe"); // ΑΒΓ.exe in UTF-8
    ASSERT_TRUE(CopyFileW(fw::Widen(box.CopyRecorder("plain.exe")).c_str(), fw::Widen(target).c_str(), FALSE));
    HostDlg host;
    CStaticLink opens(target.c_str());
    ASSERT_TRUE(opens.SubclassDlgItem(kNoString, host));
    Click(opens);
    EXPECT_TRUE(vt::WaitRecords(box.Path("recorded.txt"), 1, 10000));
    EXPECT_EQ(CStaticLink::kVisited, LookOf(host, opens).text);
    // The sandbox empties itself by ANSI names; this one goes by its own, once the program ends.
    bool deleted = false;
    for (int i = 0; i < 100 && !(deleted = DeleteFileW(fw::Widen(target).c_str())); ++i)
        Sleep(50);
    EXPECT_TRUE(deleted);
}

TEST(StaticLink, DeletesItselfAfterItsWindowOnlyWhenAsked) {
    HostDlg host;
    Script script;
    Scripted<CStaticLink>::destroyed = 0;
    Scripted<CStaticLink> kept(script, "kept", FALSE);
    ASSERT_TRUE(kept.SubclassDlgItem(kNoString, host));
    auto* owned = new Scripted<CStaticLink>(script, "owned", TRUE);
    ASSERT_TRUE(owned->SubclassDlgItem(kLinkText, host));
    DestroyWindow(host.Item(kLinkText));
    EXPECT_EQ(1, Scripted<CStaticLink>::destroyed);
    DestroyWindow(host.Item(kNoString));
    EXPECT_EQ(1, Scripted<CStaticLink>::destroyed);
    EXPECT_EQ(nullptr, kept.GetSafeHwnd());
}

// --- CPictureCtrl -------------------------------------------------------------------------

TEST(PictureCtrl, LoadsItsImageResourceWhenAttachedOrCreated) {
    struct Case {
        const char* what;
        bool create;
        BOOL fromResource;
        int id;
        LONG cx;
    } cases[] = {
        {"subclassed", false, TRUE, kImageResource, 40},
        {"created", true, TRUE, kImageResource, 40},
        {"subclassed, not asked to", false, FALSE, kImageResource, 0},
        {"created, not asked to", true, FALSE, kImageResource, 0},
        {"subclassed, no resource of its id", false, TRUE, kNoString, 0},
        {"created, no resource of its id", true, TRUE, 900, 0},
    };
    for (const Case& c : cases) {
        HostDlg host;
        CPictureCtrl picture(c.fromResource);
        if (c.create) {
            ASSERT_TRUE(picture.Create("", WS_CHILD | WS_VISIBLE, RECT{200, 200, 260, 250}, host, c.id)) << c.what;
        } else {
            ASSERT_TRUE(picture.SubclassDlgItem(c.id, host)) << c.what;
        }
        EXPECT_EQ(c.cx, SizeOf(picture.m_picture).cx) << c.what;
    }
}

TEST(PictureCtrl, ErasesOnlyAroundThePicture) {
    struct Case {
        const char* file; // none: an empty control
        int cx, cy;       // the control's size
        std::vector<Probe> probes;
    } cases[] = {
        {"small.bmp",
         60,
         50,
         {{2, 2, kBlue}, {39, 29, kBlue}, {45, 10, kYellow}, {10, 35, kYellow}, {55, 45, kYellow}}},
        {"small.bmp", 20, 15, {{2, 2, kBlue}, {19, 14, kBlue}}}, // squeezed: nothing around it
        {"small.bmp", 20, 50, {{19, 29, kBlue}, {10, 35, kYellow}}},
        {nullptr, 60, 50, {{2, 2, kYellow}, {55, 45, kYellow}}},
    };
    for (const Case& c : cases) {
        HostDlg host;
        CPictureCtrl picture(FALSE);
        ASSERT_TRUE(picture.SubclassDlgItem(kNoString, host));
        if (c.file) {
            ASSERT_TRUE(picture.m_picture.LoadFromFile(Fixture(c.file)));
        }
        MoveWindow(picture, 0, 0, c.cx, c.cy, FALSE);
        Canvas canvas(100, 100);
        canvas.Fill(kBlue);
        EXPECT_TRUE(SendMessageA(picture, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0));
        for (const Probe& p : c.probes)
            EXPECT_EQ(p.colour, canvas.At(p.x, p.y))
                << (c.file ? c.file : "no picture") << " in " << c.cx << "x" << c.cy << " at " << p.x << "," << p.y;
    }
}

TEST(PictureCtrl, PaintsNaturalSizeInALargerControlAndSqueezesEachAxisInASmallerOne) {
    struct Case {
        const char* file;
        int cx, cy;
        std::vector<Probe> probes;
    } cases[] = {
        {"small.bmp", 60, 50, {{2, 2, kRed}, {12, 12, kGreen}, {39, 29, kGreen}, {45, 10, kYellow}, {10, 35, kYellow}}},
        {"pic400x300.bmp", 100, 75, {{2, 2, kRed}, {7, 7, kGrey}, {98, 73, kBlue}, {90, 10, kGrey}}},
        // Only the width is squeezed; the height stays natural, the rest is erased.
        {"pic400x300.bmp",
         100,
         340,
         {{2, 15, kRed}, {10, 10, kGrey}, {98, 290, kBlue}, {98, 275, kGrey}, {50, 320, kYellow}}},
        {nullptr, 60, 50, {{2, 2, kYellow}, {20, 5, kYellow}, {55, 45, kYellow}}}, // no "Static" text either
    };
    for (const Case& c : cases) {
        HostDlg host;
        CPictureCtrl picture(FALSE);
        ASSERT_TRUE(picture.SubclassDlgItem(kNoString, host));
        if (c.file) {
            ASSERT_TRUE(picture.m_picture.LoadFromFile(Fixture(c.file)));
        }
        MoveWindow(picture, 0, 0, c.cx, c.cy, FALSE);
        // The control paints a copy of itself into a bitmap: what it painted on the screen could
        // be covered by any other program's window there.
        Canvas canvas(400, 400);
        SendMessageA(picture, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT | PRF_ERASEBKGND);
        for (const Probe& p : c.probes) {
            COLORREF got = canvas.At(p.x, p.y);
            EXPECT_TRUE(Near(got, p.colour))
                << (c.file ? c.file : "no picture") << " in " << c.cx << "x" << c.cy << " at " << p.x << "," << p.y
                << ": " << Hex(got) << " not " << Hex(p.colour);
        }
    }
}

// Told a smaller size (a splash scaled to the screen, its picture loaded whole), the control
// draws the whole picture into it and erases around it.
TEST(PictureCtrl, DrawsTheWholePictureAtTheSizeItIsTold) {
    HostDlg host;
    CPictureCtrl picture(FALSE);
    ASSERT_TRUE(picture.SubclassDlgItem(kNoString, host));
    ASSERT_TRUE(picture.m_picture.LoadFromFile(Fixture("pic400x300.bmp")));
    picture.SetShownSize(fw::Size{200, 150});
    MoveWindow(picture, 0, 0, 300, 300, FALSE);
    Canvas canvas(400, 400);
    SendMessageA(picture, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT | PRF_ERASEBKGND);
    for (const Probe& p : {Probe{3, 3, kRed}, Probe{196, 146, kBlue}, Probe{100, 75, kGrey}, Probe{250, 100, kYellow},
                           Probe{100, 200, kYellow}})
        EXPECT_TRUE(Near(canvas.At(p.x, p.y), p.colour)) << p.x << "," << p.y << ": " << Hex(canvas.At(p.x, p.y));
}

// --- CSplashDlg ---------------------------------------------------------------------------

TEST(SplashDlg, EmptyPathLoadsDefaultGifFromTheCurrentFolder) {
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    struct Case {
        const char* defaultGif; // copied in as default.gif, or none
        LONG cx, cy;
    } cases[] = {
        {"pic400x300.gif", 405, 305},
        {nullptr, 5, 5},
    };
    for (const Case& c : cases) {
        vt::Sandbox box(std::string("SplashDlg_default_") + (c.defaultGif ? "present" : "missing"));
        if (c.defaultGif)
            box.Copy(Fixture(c.defaultGif), "default.gif");
        SetCurrentDirectoryA(box.Dir().c_str());
        CSplashDlg splash;
        ASSERT_TRUE(splash.Create());
        EXPECT_EQ("default.gif", splash.m_strImagePath);
        RECT r = vt::RectOf(splash);
        EXPECT_EQ(c.cx, r.right - r.left);
        EXPECT_EQ(c.cy, r.bottom - r.top);
        // The picture control covers the client area from its top-left corner; it is no link.
        RECT ctrl = vt::RectOf(splash.m_pictureCtrl);
        POINT origin = {0, 0};
        ClientToScreen(splash, &origin);
        EXPECT_EQ(origin.x, ctrl.left);
        EXPECT_EQ(origin.y, ctrl.top);
        EXPECT_EQ(c.cx, ctrl.right - ctrl.left);
        EXPECT_FALSE(ShowsLinkCursor(splash.m_pictureCtrl));
        DestroyWindow(splash);
    }
    SetCurrentDirectoryA(previous);
}

} // namespace
