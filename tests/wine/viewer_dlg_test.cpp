// The viewer window's class itself, run modally in this process on the program's template:
// what only shows from inside -- the template's size, every navigation passing the handler
// with its URL as given and its cancel flag honoured, the browser's events reaching the
// title, and the window's icon; and the browser's events as its wrapper decodes them.
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

// This Wine sends no TitleChange (it renders no page), so the event is called here as the
// browser's notification brings it (BrowserEvents checks that part).
TEST_F(ViewerDialog, PageTitleReplacesTheLabelAndBecomesTheCaption) {
    box_.Write("autorun.inf", "[autorun]\r\nOPEN=autorun.exe index.htm 1 0\r\nLABEL=Product Disc\r\n");
    Run([](ScriptedViewer& v) {
        EXPECT_EQ("Product Disc", v.GetWindowText());
        EXPECT_EQ("", v.m_strCaption);

        v.TitleChange("Welcome \xc3\xa9t\xc3\xa9");
        // The program's text is UTF-8; the window holds the title's own characters.
        EXPECT_EQ("Welcome \xc3\xa9t\xc3\xa9", v.GetWindowText());
        EXPECT_EQ("Welcome \xc3\xa9t\xc3\xa9", v.m_strCaption);
        wchar_t shown[32] = {};
        GetWindowTextW(v, shown, 32);
        EXPECT_STREQ(L"Welcome \x00e9t\x00e9", shown);
    });
}

TEST_F(ViewerDialog, TheHandlersCancelIsTheNavigationsAnswer) {
    viewer_.cancelIfHas = "blocked";
    Run([](ScriptedViewer& v) {
        const size_t before = v.navigations.size();
        for (const char* url : {"C:\\disc\\blocked.htm", "C:\\disc\\open.htm"}) {
            bool cancel = false;
            v.BeforeNavigate(url, "", cancel);
            EXPECT_EQ(strstr(url, "blocked") != nullptr, cancel) << url;
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

// Records the browser's events as the decoder calls them; cancels navigations to cancelIfHas.
struct RecordedEvents : WebBrowserEvents {
    std::vector<std::string> calls;
    std::string cancelIfHas;
    void BeforeNavigate(const std::string& url, const std::string& sourceFrame, bool& cancel) override {
        calls.push_back("navigate " + url + " from '" + sourceFrame + "'" + (cancel ? " cancelled" : ""));
        if (!cancelIfHas.empty() && url.find(cancelIfHas) != std::string::npos)
            cancel = true;
    }
    void TitleChange(const std::string& title) override { calls.push_back("title " + title); }
};

// An event of the browser as its host window hands it on, with its arguments in calling order.
bool Decode(HWND host, DISPID dispid, std::vector<VARIANTARG> args, RecordedEvents& events) {
    std::vector<VARIANTARG> reversed(args.rbegin(), args.rend());
    DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    fw::AxEvent event = {{host, static_cast<UINT_PTR>(kBrowserId), fw::kAxEventNotify}, dispid, &params};
    return CWebBrowser2::DecodeEvent(&event.hdr, events);
}

VARIANTARG Dispatch(IDispatch* object) {
    VARIANTARG v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
    return v;
}

VARIANTARG BoolRef(VARIANT_BOOL* target) {
    VARIANTARG v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_BOOL;
    v.pboolVal = target;
    return v;
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
        for (const char* location : {"http://example.com/page.htm", "about:blank",
                                     ""}) { // a frame before its first page: not the viewer's own navigation
            bool cancel = false;
            v.BeforeNavigate(box_.Path("ACTION_RUN=setup.exe"), location, cancel);
            EXPECT_TRUE(cancel) << location;
        }
        PumpUntil([] { return false; }, 1500); // time enough for a program to start, were one run
        EXPECT_EQ(1u, ReadRecords(records).size()) << "nothing ran from a page off the disc";

        bool cancel = false;
        v.BeforeNavigate(box_.Path("ACTION_RUN=setup.exe"), "file:///" + box_.Path("sub\\..\\index.htm"), cancel);
        EXPECT_TRUE(cancel) << "an action link is no page";
        EXPECT_TRUE(PumpUntil([&] { return ReadRecords(records).size() == 2; }, 10000)) << "run from a disc frame";
    });
}

// The decoder trusts notifications from a host window of a real control only: the viewer's
// browser host sends these.
class BrowserEvents : public ViewerDialog {};

TEST_F(BrowserEvents, TitleChangeCarriesTheTitleAndMalformedOnesAreLeftAlone) {
    Run([](ScriptedViewer& v) {
        const HWND host = GetDlgItem(v, kBrowserId);
        RecordedEvents events;
        BSTR page = SysAllocString(L"Welcome \x00e9t\x00e9");
        VARIANTARG number;
        VariantInit(&number);
        number.vt = VT_I4;
        number.lVal = 7;
        EXPECT_TRUE(Decode(host, 113, {Bstr(page)}, events));
        EXPECT_FALSE(Decode(host, 113, {number}, events));
        EXPECT_FALSE(Decode(host, 113, {}, events));
        EXPECT_FALSE(Decode(host, 113, {Bstr(page), Bstr(page)}, events));
        SysFreeString(page);
        EXPECT_EQ(std::vector<std::string>{"title Welcome \xc3\xa9t\xc3\xa9"}, events.calls);
    });
}

// Browser, URL, flags, target frame name, post data, headers, cancel: the browser object that
// fires names the frame, and the answer goes back through the cancel argument.
TEST_F(BrowserEvents, BeforeNavigateNamesItsFrameAndAnswersThroughTheCancel) {
    Run([](ScriptedViewer& v) {
        const HWND host = GetDlgItem(v, kBrowserId);
        RecordedEvents events;
        events.cancelIfHas = "blocked";
        FrameStandIn frame(L"http://example.com/page.htm");
        VARIANT empty;
        VariantInit(&empty);
        const struct {
            const wchar_t* url;
            IDispatch* browser;
            VARIANT_BOOL cancelBefore, cancelAfter;
        } cases[] = {
            {L"C:\\disc\\blocked.htm", &frame, VARIANT_FALSE, VARIANT_TRUE},
            {L"C:\\disc\\open.htm", nullptr, VARIANT_FALSE, VARIANT_FALSE},
            {L"C:\\disc\\open.htm", &frame, VARIANT_TRUE, VARIANT_TRUE},
        };
        for (const auto& c : cases) {
            VARIANT url = Bstr(SysAllocString(c.url));
            VARIANT_BOOL cancel = c.cancelBefore;
            EXPECT_TRUE(Decode(
                host, 250,
                {Dispatch(c.browser), Ref(&url), Ref(&empty), Ref(&empty), Ref(&empty), Ref(&empty), BoolRef(&cancel)},
                events));
            EXPECT_EQ(c.cancelAfter, cancel);
            // Too few arguments, or a URL that is no text: nothing is called, the cancel is kept.
            EXPECT_FALSE(Decode(host, 250, {Dispatch(c.browser), Ref(&url), BoolRef(&cancel)}, events));
            EXPECT_FALSE(Decode(host, 250,
                                {Dispatch(c.browser), Ref(&empty), Ref(&empty), Ref(&empty), Ref(&empty), Ref(&empty),
                                 BoolRef(&cancel)},
                                events));
            EXPECT_EQ(c.cancelAfter, cancel);
            VariantClear(&url);
        }
        EXPECT_EQ(
            (std::vector<std::string>{"navigate C:\\disc\\blocked.htm from 'http://example.com/page.htm'",
                                      "navigate C:\\disc\\open.htm from ''",
                                      "navigate C:\\disc\\open.htm from 'http://example.com/page.htm' cancelled"}),
            events.calls);

        // Another event of the browser, and a notification that is no event at all.
        EXPECT_FALSE(Decode(host, 259, {}, events)); // DocumentComplete
        NMHDR click = {host, static_cast<UINT_PTR>(kBrowserId), static_cast<UINT>(NM_CLICK)};
        EXPECT_FALSE(CWebBrowser2::DecodeEvent(&click, events));
        EXPECT_EQ(3u, events.calls.size());
    });
}
