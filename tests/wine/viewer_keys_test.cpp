// Keys in the viewer reach its control before the dialog. Wine's browser draws no page and
// never hands its host an active object, so a control of this test stands in for it (TreatAs of the browser's
// class, served by a class object registered in this process): it hands the host its active
// object on activation and takes Tab, Enter and the arrows but not Esc, as a page with links
// would.
#include <gtest/gtest.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "framework/activex_site.h"
#include "framework/app.h"
#include "harness.h"
#include "launcher/viewer_dlg.h"
#include "viewer_fixtures.h"

using namespace vt;

namespace {

// {F5CD5E9F-E145-40A0-91F3-5A265CAD7D93}
const CLSID kKeyControlClsid = {0xf5cd5e9f, 0xe145, 0x40a0, {0x91, 0xf3, 0x5a, 0x26, 0x5c, 0xad, 0x7d, 0x93}};
const char kKeyControlClsidText[] = "{F5CD5E9F-E145-40A0-91F3-5A265CAD7D93}";
const char kKeyWindowClass[] = "VtKeyControl";

// What the stand-in answers for a key: the page keeps these, the dialog gets the rest.
const struct {
    WPARAM key;
    HRESULT answer;
} kKeys[] = {
    {VK_TAB, S_OK}, {VK_RETURN, S_OK}, {VK_LEFT, S_OK},      {VK_RIGHT, S_OK},
    {VK_UP, S_OK},  {VK_DOWN, S_OK},   {VK_ESCAPE, S_FALSE},
};

HRESULT AnswerFor(WPARAM key) {
    for (const auto& k : kKeys)
        if (k.key == key)
            return k.answer;
    return S_FALSE;
}

class KeyControl;

// Shared by the stand-in and the tests.
struct Seen {
    KeyControl* control = nullptr;  // the last stand-in while it lives
    std::vector<WPARAM> offered;    // key-down messages offered to TranslateAccelerator
    std::vector<WPARAM> dispatched; // key-down messages that reached the control's window
    int live = 0;                   // stand-ins not yet released
    HWND window = nullptr;          // the last stand-in's window
} g_seen;

LRESULT CALLBACK KeyWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_KEYDOWN)
        g_seen.dispatched.push_back(wp);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

class KeyControl : public IOleObject, public IOleInPlaceObject, public IOleInPlaceActiveObject, public IDispatch {
public:
    KeyControl() {
        ++g_seen.live;
        g_seen.control = this;
    }
    virtual ~KeyControl() {
        --g_seen.live;
        if (g_seen.control == this)
            g_seen.control = nullptr;
    }

    // As a control does when it leaves UI activation: the keys go back to the dialog.
    void GiveUpKeys() {
        if (frame_)
            frame_->SetActiveObject(nullptr, nullptr);
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleObject))
            *out = static_cast<IOleObject*>(this);
        else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceObject))
            *out = static_cast<IOleInPlaceObject*>(this);
        else if (IsEqualIID(riid, IID_IOleInPlaceActiveObject))
            *out = static_cast<IOleInPlaceActiveObject*>(this);
        else if (IsEqualIID(riid, IID_IDispatch))
            *out = static_cast<IDispatch*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG refs = --refs_;
        if (refs == 0)
            delete this;
        return refs;
    }

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
        if (site)
            site->AddRef();
        if (site_)
            site_->Release();
        site_ = site;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** out) override {
        *out = site_;
        if (site_)
            site_->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD) override { return InPlaceDeactivate(); }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    // Activation makes the window and hands the frame the active object. Closing does not tell
    // the frame to let go: the host must drop it itself.
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND parent, LPCRECT rect) override {
        if (verb != OLEIVERB_INPLACEACTIVATE)
            return S_OK;
        if (window_)
            return S_OK;
        IOleInPlaceSite* inPlace = nullptr;
        if (!site_ || FAILED(site_->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlace))))
            return E_UNEXPECTED;
        inPlace->OnInPlaceActivate();
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* document = nullptr;
        RECT pos{}, clip{};
        OLEINPLACEFRAMEINFO info{};
        info.cb = sizeof info;
        HRESULT hr = inPlace->GetWindowContext(&frame, &document, &pos, &clip, &info);
        inPlace->Release();
        if (document)
            document->Release();
        if (FAILED(hr))
            return hr;
        window_ = CreateWindowExA(0, kKeyWindowClass, "", WS_CHILD | WS_VISIBLE, rect->left, rect->top,
                                  rect->right - rect->left, rect->bottom - rect->top, parent, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        g_seen.window = window_;
        frame_ = frame;
        if (frame_)
            frame_->SetActiveObject(this, L"key control");
        return window_ ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* out) override {
        *out = kKeyControlClsid;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* out) override {
        *out = OLEMISC_SETCLIENTSITEFIRST;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, for both in-place interfaces
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
        *out = window_;
        return window_ ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override {
        if (window_)
            DestroyWindow(window_);
        window_ = nullptr;
        if (frame_)
            frame_->Release();
        frame_ = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT pos, LPCRECT) override {
        if (window_)
            MoveWindow(window_, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

    // IOleInPlaceActiveObject
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg) override {
        if (msg->message != WM_KEYDOWN)
            return S_FALSE;
        g_seen.offered.push_back(msg->wParam);
        return AnswerFor(msg->wParam);
    }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

    // IDispatch: the viewer's Navigate lands here and is answered without effect.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return S_OK;
    }

private:
    ULONG refs_ = 1;
    IOleClientSite* site_ = nullptr;
    IOleInPlaceFrame* frame_ = nullptr;
    HWND window_ = nullptr;
};

class KeyControlFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (outer)
            return CLASS_E_NOAGGREGATION;
        KeyControl* control = new KeyControl;
        const HRESULT hr = control->QueryInterface(riid, out);
        control->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

KeyControlFactory g_factory;

const UINT kKeysSent = WM_APP + 1;
const UINT_PTR kStepTimer = 78;
const int kShowPolls = 250;
const UINT kGiveUpMs = 10000;

// The viewer, made to press keys on its control once it shows.
class KeyedViewer : public CViewerDlg {
public:
    int okCalls = 0;
    int cancelCalls = 0;
    HWND focusAfterKeys = nullptr;

protected:
    BOOL OnInitDialog() override {
        const BOOL result = CViewerDlg::OnInitDialog();
        SetTimer(m_hWnd, kStepTimer, 20, nullptr);
        return result;
    }
    void OnOK() override {
        ++okCalls;
        CViewerDlg::OnOK();
    }
    void OnCancel() override {
        ++cancelCalls;
        CViewerDlg::OnCancel();
    }
    bool OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT&) override {
        if (msg == WM_TIMER && wp == kStepTimer) {
            if (!IsWindowVisible(m_hWnd) && ++polls_ < kShowPolls)
                return true;
            KillTimer(m_hWnd, kStepTimer);
            // Posted, so that they come through the dialog's own loop, followed by a note to self.
            SetFocus(g_seen.window);
            for (const auto& k : kKeys) {
                if (k.key == VK_ESCAPE)
                    continue;
                PostMessageA(g_seen.window, WM_KEYDOWN, k.key, 1);
                PostMessageA(g_seen.window, WM_KEYUP, k.key, 0xC0000001);
            }
            PostMessageA(m_hWnd, kKeysSent, 0, 0);
            return true;
        }
        if (msg == kKeysSent) {
            focusAfterKeys = GetFocus();
            PostMessageA(g_seen.window, WM_KEYDOWN, VK_ESCAPE, 1);
            PostMessageA(g_seen.window, WM_KEYUP, VK_ESCAPE, 0xC0000001);
            SetTimer(m_hWnd, kStepTimer + 1, kGiveUpMs, nullptr);
            return true;
        }
        if (msg == WM_TIMER && wp == kStepTimer + 1) {
            EndDialog(IDABORT);
            return true;
        }
        return false;
    }

private:
    int polls_ = 0;
};

class ViewerKeys : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        ASSERT_TRUE(fw::RegisterAxHost());
        WNDCLASSA wc = {};
        wc.lpfnWndProc = KeyWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kKeyWindowClass;
        RegisterClassA(&wc);
        ASSERT_EQ(S_OK, CoRegisterClassObject(kKeyControlClsid, &g_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                              &cookie_));
        g_seen = Seen{};
        viewer_.m_strPath = box_.Path("index.htm");
        box_.Write("index.htm", "<html><body><a href=\"a.htm\">a</a> <a href=\"b.htm\">b</a></body></html>");
    }
    void TearDown() override {
        CoRevokeClassObject(cookie_);
        OleUninitialize();
    }

    std::vector<WPARAM> Keys(bool withEsc) const {
        std::vector<WPARAM> keys;
        for (const auto& k : kKeys)
            if (withEsc || k.key != VK_ESCAPE)
                keys.push_back(k.key);
        return keys;
    }

    Sandbox box_;
    // The browser's class names the stand-in while the test runs.
    ClassesKey treatAs_{std::string("CLSID\\") + kBrowserClsid + "\\TreatAs", kKeyControlClsidText};
    KeyedViewer viewer_;
    DWORD cookie_ = 0;
};

TEST_F(ViewerKeys, ThePageTakesTabEnterAndArrowsBeforeTheDialogAndEscStillCloses) {
    EXPECT_EQ(IDCANCEL, viewer_.DoModal()) << "IDOK: Enter reached the dialog; IDABORT: Esc did not close it";
    ASSERT_TRUE(g_seen.window) << "the stand-in was not created in the browser's place";
    EXPECT_EQ(Keys(true), g_seen.offered) << "each key offered once, in order, Esc last";
    EXPECT_EQ(0, viewer_.okCalls) << "Enter went to the dialog";
    EXPECT_EQ(g_seen.window, viewer_.focusAfterKeys) << "Tab or an arrow moved the dialog's focus";
    EXPECT_EQ(std::vector<WPARAM>{}, g_seen.dispatched) << "a key was handled after the control took it";
    EXPECT_EQ(1, viewer_.cancelCalls) << "Esc, declined by the control, closes the viewer";
    EXPECT_EQ(0, g_seen.live) << "the host let the control go, its active object too";
}

// A modeless window on the viewer's template: its host makes the control as the viewer's does,
// and no modal loop of the system's runs.
class ModelessViewer : public fw::ModelessDialog {
public:
    ModelessViewer() : fw::ModelessDialog(CViewerDlg::IDD, nullptr) {}
};

// A modeless window pumped by the framework's own loop gets the same order.
TEST_F(ViewerKeys, ThePumpOffersKeysToTheControlFirst) {
    ModelessViewer viewer;
    ASSERT_TRUE(viewer.Create());
    ASSERT_TRUE(g_seen.window);
    for (WPARAM key : Keys(false)) {
        PostMessageA(g_seen.window, WM_KEYDOWN, key, 1);
        PostMessageA(g_seen.window, WM_KEYUP, key, 0xC0000001);
    }
    fw::PumpMessages();
    EXPECT_EQ(Keys(false), g_seen.offered);
    EXPECT_EQ(std::vector<WPARAM>{}, g_seen.dispatched);

    // Once the control gives the keys up, they go straight to the window.
    g_seen.offered.clear();
    g_seen.dispatched.clear();
    ASSERT_TRUE(g_seen.control);
    g_seen.control->GiveUpKeys();
    PostMessageA(g_seen.window, WM_KEYDOWN, VK_TAB, 1);
    fw::PumpMessages();
    EXPECT_EQ(std::vector<WPARAM>{}, g_seen.offered);
    EXPECT_EQ(std::vector<WPARAM>{VK_TAB}, g_seen.dispatched);

    DestroyWindow(viewer);
    EXPECT_EQ(0, g_seen.live);
}

// A loop that offers a key itself and then calls IsDialogMessage, which on Windows may call
// the message-filter hook with the same key: the control is asked once per key, declined or
// not, and a later identical key is asked again.
TEST_F(ViewerKeys, ADeclinedKeyIsNotOfferedTwice) {
    ModelessViewer viewer;
    ASSERT_TRUE(viewer.Create());
    ASSERT_TRUE(g_seen.window);
    const MSG esc = {g_seen.window, WM_KEYDOWN, VK_ESCAPE, 1, GetTickCount(), {}};
    for (int i = 0; i < 2; ++i) {
        MSG msg = esc;
        EXPECT_FALSE(fw::TranslateControlKey(msg));
        EXPECT_FALSE(CallMsgFilterA(&msg, MSGF_DIALOGBOX));
    }
    MSG tab = {g_seen.window, WM_KEYDOWN, VK_TAB, 1, GetTickCount(), {}};
    EXPECT_TRUE(CallMsgFilterA(&tab, MSGF_DIALOGBOX)) << "the modal loop's hook";
    EXPECT_EQ((std::vector<WPARAM>{VK_ESCAPE, VK_ESCAPE, VK_TAB}), g_seen.offered);
    DestroyWindow(viewer);
}

} // namespace
