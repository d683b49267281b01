// The viewer window's class itself, run modally in this process on the program's template:
// what only shows from inside -- the template's size, every navigation passing the handler
// with its URL as given and its cancel flag honoured, the browser's events reaching the
// title, and the window's icon.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/activex_site.h"
#include "harness.h"
#include "resource.h"
#include "launcher/viewer_dlg.h"
#include "viewer_fixtures.h"

using namespace vt;

namespace {

const UINT_PTR kScriptTimer = 77;
const int kScriptPollMs = 20;
const int kShowPolls = 250;

// Runs a script inside the viewer's modal loop once the window shows, then closes it; notes
// every navigation and cancels those that hold cancelIfHas.
class ScriptedViewer : public CViewerDlg {
public:
    std::function<void(ScriptedViewer&)> script;
    std::string cancelIfHas;
    std::vector<std::string> navigations;
    bool shown = false;

protected:
    // The modal loop shows the window once its queue is empty; a timer waits for that.
    BOOL OnInitDialog() override {
        const BOOL result = CViewerDlg::OnInitDialog();
        SetTimer(m_hWnd, kScriptTimer, kScriptPollMs, nullptr);
        return result;
    }
    bool OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT&) override {
        if (msg != WM_TIMER || wp != kScriptTimer)
            return false;
        shown = IsWindowVisible(m_hWnd) != FALSE;
        if (!shown && ++polls_ < kShowPolls)
            return true;
        KillTimer(m_hWnd, kScriptTimer);
        if (script)
            script(*this);
        EndDialog(IDCANCEL);
        return true;
    }
    void OnBeforeNavigate2(const std::string& url, BOOL& cancel) override {
        navigations.push_back(url);
        sources.push_back(m_strNavigationSource);
        if (!cancelIfHas.empty() && url.find(cancelIfHas) != std::string::npos)
            cancel = TRUE;
        if (realHandler)
            CViewerDlg::OnBeforeNavigate2(url, cancel);
    }

public:
    bool realHandler = false;         // the viewer's own handling too: page actions run
    std::vector<std::string> sources; // the page each navigation started from

private:
    int polls_ = 0;
};

class ViewerDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        ASSERT_TRUE(fw::RegisterAxHost());
        GetCurrentDirectoryA(MAX_PATH, previousDir_);
        // autorun.inf and a relative icon path are read from the working folder.
        SetCurrentDirectoryA(box_.Dir().c_str());
        box_.Write("index.htm", "<html><head><title>Menu</title></head><body>Menu</body></html>");
        viewer_.m_strPath = box_.Path("index.htm");
    }
    void TearDown() override {
        SetCurrentDirectoryA(previousDir_);
        OleUninitialize();
    }

    void Run(std::function<void(ScriptedViewer&)> script) {
        viewer_.script = std::move(script);
        EXPECT_EQ(IDCANCEL, viewer_.DoModal());
        EXPECT_TRUE(viewer_.shown);
    }

    Sandbox box_;
    ScriptedViewer viewer_;
    char previousDir_[MAX_PATH] = "";
};

// Handles this thread's messages until cond holds or timeoutMs has passed.
bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs) {
    return WaitUntil(
        [&] {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            return cond();
        },
        timeoutMs);
}

std::string LocationUrl(CWebBrowser2& browser) {
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none = {};
    const DISPID kLocationUrl = 211;
    browser.Dispatch()->Invoke(kLocationUrl, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result,
                               nullptr, nullptr);
    std::string url;
    fw::ArgText(&result, url);
    VariantClear(&result);
    return url;
}

// An event of a hosted control as the host hands it to the dialog, with its arguments in
// calling order.
void FireEvent(HWND viewer, int control, DISPID dispid, std::vector<VARIANTARG> args) {
    std::vector<VARIANTARG> reversed(args.rbegin(), args.rend());
    DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    HWND host = GetDlgItem(viewer, control);
    fw::AxEvent event = {{host, static_cast<UINT_PTR>(control), fw::kAxEventNotify}, dispid, &params};
    SendMessageA(viewer, WM_NOTIFY, control, reinterpret_cast<LPARAM>(&event));
}

VARIANTARG Bstr(BSTR text) {
    VARIANTARG v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = text;
    return v;
}

VARIANTARG Ref(VARIANT* target) {
    VARIANTARG v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_VARIANT;
    v.pvarVal = target;
    return v;
}

// A 32 x 32 icon file of one colour.
std::string MakeIcon(COLORREF colour) {
    const int size = 32;
    auto put = [](std::string& out, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    const uint32_t imageBytes = 40 + size * size * 4 + size * 4;
    std::string ico;
    put(ico, 0, 2);
    put(ico, 1, 2); // icon
    put(ico, 1, 2); // one image
    ico += static_cast<char>(size);
    ico += static_cast<char>(size);
    put(ico, 0, 2);
    put(ico, 1, 2);  // planes
    put(ico, 32, 2); // bits per pixel
    put(ico, imageBytes, 4);
    put(ico, 22, 4);
    put(ico, 40, 4);
    put(ico, size, 4);
    put(ico, size * 2, 4); // colour and mask
    put(ico, 1, 2);
    put(ico, 32, 2);
    put(ico, BI_RGB, 4);
    put(ico, 0, 4);
    for (int i = 0; i < 4; ++i)
        put(ico, 0, 4);
    const uint32_t pixel = 0xFF000000u | GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
    for (int i = 0; i < size * size; ++i)
        put(ico, pixel, 4);
    ico.append(size * 4, '\0'); // mask: all opaque
    return ico;
}

COLORREF CentreColour(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return CLR_INVALID;
    BITMAP bm{};
    GetObjectA(info.hbmColor, sizeof bm, &bm);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = -bm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(bm.bmWidth * bm.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmColor, 0, bm.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    const DWORD p = pixels[(bm.bmHeight / 2) * bm.bmWidth + bm.bmWidth / 2];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

} // namespace

TEST_F(ViewerDialog, DefaultSizeIsTheTemplates) {
    Run([](ScriptedViewer& v) {
        RECT expected = {0, 0, 502, 329};
        MapDialogRect(v, &expected);
        RECT client{};
        GetClientRect(v, &client);
        EXPECT_TRUE(EqualRect(&expected, &client)) << Text(expected) << " " << Text(client);
        RECT player = {0, 0, 501, 329};
        MapDialogRect(v, &player);
        EXPECT_EQ(player.right, RectIn(v, v.GetDlgItem(kPlayerId)).right);
        EXPECT_EQ("", CoverFault(v, expected.right - player.right));
    });
}

// Moved to a screen of another scale, the window takes the rectangle the system suggests, both
// controls still cover it, and its smallest size is the one of that scale; moved back, the
// layout is what it was, give or take the rounding of each step.
TEST_F(ViewerDialog, MovedToAScreenOfAnotherScale) {
    Run([](ScriptedViewer& v) {
        const int dpi = v.Dpi();
        // Small enough that twice the size still fits the screen.
        SetWindowPos(v, nullptr, 0, 0, MulDiv(480, dpi, 96), MulDiv(340, dpi, 96), SWP_NOMOVE | SWP_NOZORDER);
        RECT client{};
        GetClientRect(v, &client);
        const int playerRight = RectIn(v, v.GetDlgItem(kPlayerId)).right;
        const RECT before = RectOf(v);
        for (const int to : {dpi * 3 / 2, dpi * 2, dpi}) {
            SCOPED_TRACE(to);
            // The system suggests the same place, every size scaled; the frame rounds its own way.
            const RECT suggested = {before.left, before.top,
                                    before.left + MulDiv(before.right - before.left, to, dpi) + 1,
                                    before.top + MulDiv(before.bottom - before.top, to, dpi)};
            v.SendMessage(0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
            const RECT now = RectOf(v);
            EXPECT_TRUE(EqualRect(&now, &suggested)) << Text(now) << " for " << Text(suggested);
            RECT clientNow{};
            GetClientRect(v, &clientNow);
            const int gap = clientNow.right - RectIn(v, v.GetDlgItem(kPlayerId)).right;
            EXPECT_NEAR(MulDiv(client.right - playerRight, to, dpi), gap, 1);
            EXPECT_EQ("", CoverFault(v, gap));
            SetWindowPos(v, nullptr, 0, 0, 40, 30, SWP_NOMOVE | SWP_NOZORDER);
            const RECT smallest = RectOf(v);
            EXPECT_EQ(MulDiv(450, to, 96), smallest.right - smallest.left);
            EXPECT_EQ(MulDiv(300, to, 96), smallest.bottom - smallest.top);
            SetWindowPos(v, nullptr, 0, 0, suggested.right - suggested.left, suggested.bottom - suggested.top,
                         SWP_NOMOVE | SWP_NOZORDER);
            EXPECT_EQ("", CoverFault(v, gap));
        }
        EXPECT_NEAR(playerRight, RectIn(v, v.GetDlgItem(kPlayerId)).right, 1);
    });
}

TEST_F(ViewerDialog, EveryNavigationPassesTheHandlerWithItsUrlAsGiven) {
    viewer_.m_strPath = box_.Path("ACTION_MESSAGEBOX=Hello there.htm");
    viewer_.cancelIfHas = "blocked";
    Run([&](ScriptedViewer& v) {
        ASSERT_TRUE(v.m_browser.IsCreated());
        EXPECT_FALSE(v.m_player.IsCreated()); // not installed here
        ASSERT_EQ(std::vector<std::string>{viewer_.m_strPath}, v.navigations) << "the first navigation";
        const std::string first = LocationUrl(v.m_browser);
        EXPECT_NE(std::string::npos, first.find("Hello there.htm")) << first;

        // Later navigations report themselves from the message loop.
        EXPECT_EQ(S_OK, v.m_browser.Navigate(box_.Path("blocked.htm"), nullptr, nullptr, nullptr, nullptr));
        EXPECT_TRUE(PumpUntil([&] { return v.navigations.size() == 2; }, 5000));
        EXPECT_EQ(first, LocationUrl(v.m_browser)) << "a cancelled navigation goes nowhere";
        EXPECT_EQ(S_OK, v.m_browser.Navigate(box_.Path("second.htm"), nullptr, nullptr, nullptr, nullptr));
        EXPECT_TRUE(PumpUntil([&] { return LocationUrl(v.m_browser).find("second.htm") != std::string::npos; }, 5000))
            << LocationUrl(v.m_browser);
    });
    EXPECT_EQ((std::vector<std::string>{viewer_.m_strPath, box_.Path("blocked.htm"), box_.Path("second.htm")}),
              viewer_.navigations);
}

// This Wine sends no TitleChange (it renders no page), so those events are made here, as the
// host hands them on.
TEST_F(ViewerDialog, PageTitleReplacesTheLabelAndBecomesTheCaption) {
    box_.Write("autorun.inf", "[autorun]\r\nOPEN=autorun.exe index.htm 1 0\r\nLABEL=Product Disc\r\n");
    Run([](ScriptedViewer& v) {
        EXPECT_EQ("Product Disc", v.GetWindowText());
        EXPECT_EQ("", v.m_strCaption);

        BSTR page = SysAllocString(L"Welcome \x00e9t\x00e9");
        FireEvent(v, kBrowserId, 113, {Bstr(page)});
        // The program's text is UTF-8; the window holds the title's own characters.
        EXPECT_EQ("Welcome \xc3\xa9t\xc3\xa9", v.GetWindowText());
        EXPECT_EQ("Welcome \xc3\xa9t\xc3\xa9", v.m_strCaption);
        wchar_t shown[32] = {};
        GetWindowTextW(v, shown, 32);
        EXPECT_STREQ(L"Welcome \x00e9t\x00e9", shown);

        // Malformed reports change nothing.
        VARIANTARG number;
        VariantInit(&number);
        number.vt = VT_I4;
        number.lVal = 7;
        FireEvent(v, kBrowserId, 113, {number});
        FireEvent(v, kBrowserId, 113, {});
        FireEvent(v, kBrowserId, 113, {Bstr(page), Bstr(page)});
        EXPECT_EQ("Welcome \xc3\xa9t\xc3\xa9", v.GetWindowText());
        SysFreeString(page);
    });
}

TEST_F(ViewerDialog, CancelFlagIsWrittenBackAndMalformedNavigationsAreIgnored) {
    viewer_.cancelIfHas = "blocked";
    Run([](ScriptedViewer& v) {
        const size_t before = v.navigations.size();
        VARIANT empty;
        VariantInit(&empty);
        VARIANTARG browser;
        VariantInit(&browser);
        browser.vt = VT_DISPATCH;
        browser.pdispVal = nullptr;
        for (const wchar_t* url : {L"C:\\disc\\blocked.htm", L"C:\\disc\\open.htm"}) {
            VARIANT urlValue = Bstr(SysAllocString(url));
            VARIANT_BOOL cancel = VARIANT_FALSE;
            VARIANTARG cancelArg;
            VariantInit(&cancelArg);
            cancelArg.vt = VT_BYREF | VT_BOOL;
            cancelArg.pboolVal = &cancel;
            FireEvent(v, kBrowserId, 250,
                      {browser, Ref(&urlValue), Ref(&empty), Ref(&empty), Ref(&empty), Ref(&empty), cancelArg});
            EXPECT_EQ(wcsstr(url, L"blocked") ? VARIANT_TRUE : VARIANT_FALSE, cancel);

            FireEvent(v, kBrowserId, 250, {browser, Ref(&urlValue), cancelArg}); // too few
            FireEvent(v, kBrowserId, 250,
                      {browser, Ref(&empty), Ref(&empty), Ref(&empty), // URL not text
                       Ref(&empty), Ref(&empty), cancelArg});
            VariantClear(&urlValue);
        }
        EXPECT_EQ((std::vector<std::string>{"C:\\disc\\blocked.htm", "C:\\disc\\open.htm"}),
                  std::vector<std::string>(v.navigations.begin() + before, v.navigations.end()));
    });
}

TEST_F(ViewerDialog, IconFromTheIconEntryElseTheProgramsOwn) {
    const COLORREF kColour = RGB(0x20, 0xC0, 0x40);
    box_.Write("disc.ico", MakeIcon(kColour));
    box_.Write("notanicon.ico", "plain text");
    HICON programs = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP));
    ASSERT_TRUE(programs);
    const struct {
        std::string iconPath;
        bool fromFile;
    } cases[] = {
        {"disc.ico", true},     {box_.Path("disc.ico"), true}, {"", false},
        {"missing.ico", false}, {"notanicon.ico", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.iconPath);
        ScriptedViewer viewer;
        viewer.m_strPath = box_.Path("index.htm");
        viewer.m_strIconPath = c.iconPath;
        viewer.script = [&](ScriptedViewer& v) {
            HICON big = reinterpret_cast<HICON>(v.SendMessage(WM_GETICON, ICON_BIG));
            HICON small = reinterpret_cast<HICON>(v.SendMessage(WM_GETICON, ICON_SMALL));
            EXPECT_EQ(big, small);
            if (c.fromFile) {
                EXPECT_NE(programs, big);
                EXPECT_EQ(kColour, CentreColour(big));
            } else {
                EXPECT_EQ(programs, big);
            }
        };
        EXPECT_EQ(IDCANCEL, viewer.DoModal());
        EXPECT_TRUE(viewer.shown);
    }
}

namespace {

// Stands in for the browser object of a frame: the event names it as the navigation's source,
// and the viewer asks it for the address of the page it shows.
class FrameStandIn : public IDispatch {
public:
    explicit FrameStandIn(const wchar_t* location) : location_(location) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid != IID_IUnknown && riid != IID_IDispatch) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (id != 211 || !(flags & DISPATCH_PROPERTYGET) || !result)
            return DISP_E_MEMBERNOTFOUND;
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(location_.c_str());
        return S_OK;
    }

private:
    std::wstring location_;
};

// A navigation of a frame that stands in for a page: its URL, and its source in the event.
VARIANT_BOOL NavigateFrom(HWND viewer, IDispatch* frame, const std::string& url) {
    VARIANT empty;
    VariantInit(&empty);
    VARIANTARG browser;
    VariantInit(&browser);
    browser.vt = VT_DISPATCH;
    browser.pdispVal = frame;
    VARIANT urlValue = Bstr(SysAllocString(std::wstring(url.begin(), url.end()).c_str()));
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANTARG cancelArg;
    VariantInit(&cancelArg);
    cancelArg.vt = VT_BYREF | VT_BOOL;
    cancelArg.pboolVal = &cancel;
    FireEvent(viewer, kBrowserId, 250,
              {browser, Ref(&urlValue), Ref(&empty), Ref(&empty), Ref(&empty), Ref(&empty), cancelArg});
    VariantClear(&urlValue);
    return cancel;
}

} // namespace

// Only the disc's own pages run action links: a page from anywhere else (another folder, the
// web) that reaches the same link runs nothing, and its navigation goes nowhere.
TEST_F(ViewerDialog, ActionLinksRunOnlyFromTheDiscsOwnPages) {
    Sandbox elsewhere(::testing::UnitTest::GetInstance()->current_test_info()->name() + std::string("_elsewhere"));
    elsewhere.Write("page.htm", "<html><body>not on the disc</body></html>");
    box_.CopyRecorder("setup.exe");
    const std::string records = box_.Path("recorded.txt");
    viewer_.m_strDiscFolder = box_.Dir();
    viewer_.realHandler = true;
    Run([&](ScriptedViewer& v) {
        // The viewer's own first page, then an action link from it: the program runs.
        ASSERT_EQ(1u, v.sources.size());
        EXPECT_EQ("", v.sources[0]);
        ASSERT_EQ(S_OK, v.m_browser.Navigate(box_.Path("index.htm") + "?ACTION_RUN=setup.exe", nullptr, nullptr,
                                             nullptr, nullptr));
        EXPECT_TRUE(PumpUntil([&] { return ReadRecords(records).size() == 1; }, 10000)) << "run from the disc's page";
        ASSERT_EQ(2u, v.sources.size());
        EXPECT_NE(std::string::npos, v.sources[1].find("index.htm")) << v.sources[1];

        // A page that is not on the disc, then the same link from it: nothing runs.
        ASSERT_EQ(S_OK, v.m_browser.Navigate(elsewhere.Path("page.htm"), nullptr, nullptr, nullptr, nullptr));
        ASSERT_TRUE(PumpUntil([&] { return LocationUrl(v.m_browser).find("elsewhere") != std::string::npos; }, 5000))
            << LocationUrl(v.m_browser);
        ASSERT_EQ(S_OK, v.m_browser.Navigate(elsewhere.Path("page.htm") + "?ACTION_RUN=setup.exe", nullptr, nullptr,
                                             nullptr, nullptr));
        EXPECT_TRUE(PumpUntil([&] { return v.sources.size() == 4; }, 5000));
        EXPECT_NE(std::string::npos, v.sources.back().find("elsewhere")) << v.sources.back();
        EXPECT_NE(std::string::npos, LocationUrl(v.m_browser).find("page.htm")) << "the action link is not followed";

        // Frames have browser objects of their own; the one that fires names the page.
        struct Case {
            const wchar_t* location;
            VARIANT_BOOL cancel;
        } frames[] = {
            {L"http://example.com/page.htm", VARIANT_TRUE},
            {L"about:blank", VARIANT_TRUE},
            {L"", VARIANT_TRUE}, // a frame before its first page: not the viewer's own navigation
        };
        for (const Case& c : frames) {
            FrameStandIn frame(c.location);
            EXPECT_EQ(c.cancel, NavigateFrom(v, &frame, box_.Path("ACTION_RUN=setup.exe")));
        }
        PumpUntil([] { return false; }, 1500); // time enough for a program to start, were one run
        EXPECT_EQ(1u, ReadRecords(records).size()) << "nothing ran from a page off the disc";

        const std::string discPage = "file:///" + box_.Path("sub\\..\\index.htm");
        FrameStandIn discFrame(std::wstring(discPage.begin(), discPage.end()).c_str());
        EXPECT_EQ(VARIANT_TRUE, NavigateFrom(v, &discFrame, box_.Path("ACTION_RUN=setup.exe")));
        EXPECT_TRUE(PumpUntil([&] { return ReadRecords(records).size() == 2; }, 10000)) << "run from a disc frame";
    });
}
