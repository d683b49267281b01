#include "framework/activex_site.h"

#include <mshtmhst.h>
#include <ocidl.h>

#include <algorithm>

#include "framework/com_ptr.h"
#include "framework/debug_log.h"
#include "framework/on_demand.h"
#include "framework/wide.h"

// One site object per hosted control. Each COM interface that the control asks of its
// container is a small class of its own that lives inside the site and shares its reference
// count; QueryInterface answers from a table. The site offers no ambient properties and no
// control site: the controls fall back to their defaults. Its document host handler only tells
// the browser that the host is DPI-aware, so pages are drawn at the screen's scale instead of
// at 96 dpi; every other question gets the answer that leaves the browser's default. The
// in-place frame and the event sink are separate COM identities (a control may ask them for
// other interfaces than the site's), with the same shared lifetime.
//
// Under Wine only part of this can be watched (docs/wine-limits.md): the Web Browser control
// is created, activated, resized and sends BeforeNavigate2 with a working cancel flag, but it
// draws no page and never sends TitleChange; the Media Player control does not exist. UI
// activation, focus inside a drawn page and the player's own events are seen on Windows only.
//
// Keys: as in MFC's container, the control's active object sees each key bound for its windows
// before the dialog does, so that a page keeps Tab, Enter and the arrows. The system's modal
// loop offers each message to the message-filter hook first; fw::PumpMessages, whose
// IsDialogMessage (given no dialog) does not under Wine, asks itself.

namespace fw {
namespace {

ATOM s_hostAtom = 0;

struct QiEntry {
    const IID* iid;
    IUnknown* itf;
};

template <size_t N>
HRESULT QueryTable(const QiEntry (&table)[N], REFIID riid, void** out) {
    if (!out)
        return E_POINTER;
    for (const QiEntry& entry : table) {
        if (IsEqualIID(riid, *entry.iid)) {
            entry.itf->AddRef();
            *out = entry.itf;
            return S_OK;
        }
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

class AxSite;

// An interface of the site: same lifetime, and by default the site's own QueryInterface.
template <class Itf>
class SitePart : public Itf {
public:
    explicit SitePart(AxSite& site) : m_site(site) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

protected:
    AxSite& m_site;
};

class ClientSite : public SitePart<IOleClientSite> {
public:
    using SitePart::SitePart;
    HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) override {
        if (out)
            *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** out) override {
        if (out)
            *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
};

class InPlaceSite : public SitePart<IOleInPlaceSite> {
public:
    using SitePart::SitePart;
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT pos,
                                               LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }
};

// The dialog as the control's frame: no menus, no tool space, no accelerators of its own.
class InPlaceFrame : public SitePart<IOleInPlaceFrame> {
public:
    using SitePart::SitePart;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        const QiEntry table[] = {
            {&IID_IUnknown, this},
            {&IID_IOleWindow, this},
            {&IID_IOleInPlaceUIWindow, this},
            {&IID_IOleInPlaceFrame, this},
        };
        return QueryTable(table, riid, out);
    }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return OLE_E_INVALIDRECT; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override;
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }
};

// Asked by the Web Browser control for its pages.
class DocHostUiHandler : public SitePart<IDocHostUIHandler> {
public:
    using SitePart::SitePart;
    HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* info) override {
        if (!info || info->cbSize < sizeof(ULONG) * 3)
            return E_INVALIDARG;
        info->dwFlags = DOCHOSTUIFLAG_DPI_AWARE;
        info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                     IOleInPlaceUIWindow*) override {
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE HideUI() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE UpdateUI() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR* key, DWORD) override { return NoObject(key); }
    HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget*, IDropTarget** out) override {
        NoObject(out);
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** out) override { return NoObject(out); }
    HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override { return NoObject(out); }
    HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject*, IDataObject** out) override { return NoObject(out); }

private:
    // Nothing of the host's own: the browser uses its default.
    template <class T>
    static HRESULT NoObject(T** out) {
        if (out)
            *out = nullptr;
        return S_FALSE;
    }
};

// Receives the control's events and hands each one to the site.
class EventSink : public SitePart<IDispatch> {
public:
    using SitePart::SitePart;
    void SetEvents(REFIID events) { m_events = events; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        const QiEntry table[] = {
            {&IID_IUnknown, this},
            {&IID_IDispatch, this},
            {&m_events, this},
        };
        return QueryTable(table, riid, out);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
        if (out)
            *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

private:
    IID m_events = IID_NULL;
};

class AxSite {
public:
    // Null when the control cannot be created or activated in the host.
    static AxSite* Create(HWND host, REFCLSID clsid);

    HRESULT QueryInterface(REFIID riid, void** out) {
        const QiEntry table[] = {
            {&IID_IUnknown, &m_client},           {&IID_IOleClientSite, &m_client},
            {&IID_IOleWindow, &m_inPlaceSite},    {&IID_IOleInPlaceSite, &m_inPlaceSite},
            {&IID_IDocHostUIHandler, &m_docHost},
        };
        return QueryTable(table, riid, out);
    }
    ULONG AddRef() { return ::InterlockedIncrement(&m_refs); }
    ULONG Release() {
        const LONG refs = ::InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return refs;
    }

    HWND Host() const { return m_host; }
    IDispatch* Dispatch() const { return m_dispatch.Get(); }
    IOleInPlaceFrame* Frame() { return &m_frame; }
    bool Advise(REFIID events);
    // Fits the control to the host's client area.
    void Layout();
    void Focus();
    void Fire(DISPID id, const DISPPARAMS* params);
    void SetActiveObject(IOleInPlaceActiveObject* active);
    // True when the active object took the key (S_OK).
    bool TranslateKey(MSG& msg);
    // Disconnects and lets the control go; the site itself goes with its last reference.
    void Close();

private:
    explicit AxSite(HWND host)
        : m_host(host), m_client(*this), m_inPlaceSite(*this), m_frame(*this), m_sink(*this), m_docHost(*this) {}
    ~AxSite() = default;
    HRESULT Activate(REFCLSID clsid);

    LONG m_refs = 1;
    HWND m_host;
    ClientSite m_client;
    InPlaceSite m_inPlaceSite;
    InPlaceFrame m_frame;
    EventSink m_sink;
    DocHostUiHandler m_docHost;
    ComPtr<IOleObject> m_object;
    ComPtr<IOleInPlaceObject> m_inPlace;
    ComPtr<IDispatch> m_dispatch;
    ComPtr<IConnectionPoint> m_point;
    ComPtr<IOleInPlaceActiveObject> m_active;
    DWORD m_cookie = 0;
};

// The hook lives while some site of the thread holds an active object.
thread_local HHOOK t_keyHook = nullptr;
thread_local int t_activeSites = 0;
// A key that a loop of its own offered and the control declined: should that loop's
// IsDialogMessage call the hook too, the control is not asked twice.
thread_local MSG t_declined = {};

bool OfferKey(MSG& msg);

bool SameMessage(const MSG& a, const MSG& b) {
    return a.hwnd == b.hwnd && a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam &&
           a.time == b.time;
}

LRESULT CALLBACK KeyFilterProc(int code, WPARAM wp, LPARAM lp) {
    if (code == MSGF_DIALOGBOX) {
        MSG& msg = *reinterpret_cast<MSG*>(lp);
        if (SameMessage(msg, t_declined))
            t_declined = MSG{};
        else if (OfferKey(msg))
            return 1;
    }
    return ::CallNextHookEx(t_keyHook, code, wp, lp);
}

void CountActiveSite(int change) {
    t_activeSites += change;
    if (t_activeSites > 0 && !t_keyHook)
        t_keyHook = ::SetWindowsHookExW(WH_MSGFILTER, KeyFilterProc, nullptr, ::GetCurrentThreadId());
    if (t_activeSites == 0 && t_keyHook) {
        ::UnhookWindowsHookEx(t_keyHook);
        t_keyHook = nullptr;
    }
}

template <class Itf>
HRESULT STDMETHODCALLTYPE SitePart<Itf>::QueryInterface(REFIID riid, void** out) {
    return m_site.QueryInterface(riid, out);
}
template <class Itf>
ULONG STDMETHODCALLTYPE SitePart<Itf>::AddRef() {
    return m_site.AddRef();
}
template <class Itf>
ULONG STDMETHODCALLTYPE SitePart<Itf>::Release() {
    return m_site.Release();
}

HRESULT STDMETHODCALLTYPE InPlaceSite::GetWindow(HWND* out) {
    if (!out)
        return E_POINTER;
    *out = m_site.Host();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                                        LPRECT pos, LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (!frame || !document || !pos || !clip || !info)
        return E_POINTER;
    *frame = m_site.Frame();
    (*frame)->AddRef();
    *document = nullptr;
    ::GetClientRect(m_site.Host(), pos);
    *clip = *pos;
    info->fMDIApp = FALSE;
    info->hwndFrame = ::GetAncestor(m_site.Host(), GA_ROOT);
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceFrame::GetWindow(HWND* out) {
    if (!out)
        return E_POINTER;
    *out = ::GetAncestor(m_site.Host(), GA_ROOT);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceFrame::SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) {
    m_site.SetActiveObject(active);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                            UINT*) {
    const DISPPARAMS none = {};
    m_site.Fire(id, params ? params : &none);
    return S_OK;
}

AxSite* AxSite::Create(HWND host, REFCLSID clsid) {
    AxSite* site = new AxSite(host);
    // Most often the control is not installed here; the dialog shows without it.
    if (FAILED(LogIfFailed(site->Activate(clsid), "creating an ActiveX control"))) {
        site->Close();
        site->Release();
        return nullptr;
    }
    return site;
}

HRESULT AxSite::Activate(REFCLSID clsid) {
    HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, m_object.PutVoid());
    if (FAILED(hr)) {
        m_object.Reset();
        return hr;
    }
    DWORD misc = 0;
    if (FAILED(m_object->GetMiscStatus(DVASPECT_CONTENT, &misc)))
        misc = 0;
    const bool siteFirst = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst && FAILED(hr = m_object->SetClientSite(&m_client)))
        return hr;
    ComPtr<IPersistStreamInit> persist;
    if (SUCCEEDED(m_object->QueryInterface(IID_IPersistStreamInit, persist.PutVoid())) &&
        FAILED(hr = persist->InitNew()))
        return hr;
    if (!siteFirst && FAILED(hr = m_object->SetClientSite(&m_client)))
        return hr;
    RECT rect;
    ::GetClientRect(m_host, &rect);
    if (FAILED(hr = m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &m_client, 0, m_host, &rect)))
        return hr;
    if (FAILED(hr = m_object->QueryInterface(IID_IOleInPlaceObject, m_inPlace.PutVoid()))) {
        m_inPlace.Reset();
        return hr;
    }
    if (FAILED(hr = m_object->QueryInterface(IID_IDispatch, m_dispatch.PutVoid()))) {
        m_dispatch.Reset();
        return hr;
    }
    return S_OK;
}

bool AxSite::Advise(REFIID events) {
    if (m_point || !m_object)
        return static_cast<bool>(m_point);
    ComPtr<IConnectionPointContainer> container;
    if (FAILED(m_object->QueryInterface(IID_IConnectionPointContainer, container.PutVoid())))
        return false;
    if (FAILED(container->FindConnectionPoint(events, m_point.Put()))) {
        m_point.Reset();
        return false;
    }
    m_sink.SetEvents(events);
    // Without it the control's events never reach the dialog.
    if (FAILED(LogIfFailed(m_point->Advise(&m_sink, &m_cookie), "listening to a control's events"))) {
        m_point.Reset();
        return false;
    }
    return true;
}

void AxSite::Layout() {
    if (!m_inPlace)
        return;
    RECT rect;
    ::GetClientRect(m_host, &rect);
    if (SUCCEEDED(m_inPlace->SetObjectRects(&rect, &rect)))
        return;
    // A control that refuses new extents can still have its window moved.
    HWND window = nullptr;
    if (SUCCEEDED(m_inPlace->GetWindow(&window)) && window)
        ::MoveWindow(window, 0, 0, rect.right, rect.bottom, TRUE);
}

void AxSite::Focus() {
    if (!m_object)
        return;
    RECT rect;
    ::GetClientRect(m_host, &rect);
    if (SUCCEEDED(m_object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, &m_client, 0, m_host, &rect)))
        return;
    HWND window = nullptr;
    if (m_inPlace && SUCCEEDED(m_inPlace->GetWindow(&window)) && window)
        ::SetFocus(window);
}

void AxSite::Fire(DISPID id, const DISPPARAMS* params) {
    HWND parent = ::GetParent(m_host);
    if (!parent)
        return;
    AxEvent event = {{m_host, static_cast<UINT_PTR>(::GetDlgCtrlID(m_host)), kAxEventNotify}, id, params};
    // The handler may end the dialog and so destroy the host; the site outlives the call.
    AddRef();
    ::SendMessageW(parent, WM_NOTIFY, event.hdr.idFrom, reinterpret_cast<LPARAM>(&event));
    Release();
}

void AxSite::SetActiveObject(IOleInPlaceActiveObject* active) {
    const bool had = static_cast<bool>(m_active);
    if (active)
        active->AddRef();
    *m_active.Put() = active;
    if (had != static_cast<bool>(active))
        CountActiveSite(active ? 1 : -1);
}

bool AxSite::TranslateKey(MSG& msg) {
    if (!m_active)
        return false;
    // The control may end the dialog, and so the site, while it handles the key.
    AddRef();
    IOleInPlaceActiveObject* active = m_active.Get();
    active->AddRef();
    const HRESULT hr = active->TranslateAccelerator(&msg);
    active->Release();
    Release();
    return hr == S_OK;
}

// Each step runs whatever the one before answered: nothing is left to fall back on.
void AxSite::Close() {
    if (m_point) {
        m_point->Unadvise(m_cookie);
        m_point.Reset();
    }
    m_dispatch.Reset();
    if (m_inPlace) {
        m_inPlace->InPlaceDeactivate();
        m_inPlace.Reset();
    }
    if (m_object) {
        m_object->Close(OLECLOSE_NOSAVE);
        m_object->SetClientSite(nullptr);
        m_object.Reset();
    }
    SetActiveObject(nullptr);
}

AxSite* SiteOf(HWND host) {
    if (!host || !s_hostAtom || static_cast<ATOM>(::GetClassLongPtrW(host, GCW_ATOM)) != s_hostAtom)
        return nullptr;
    return reinterpret_cast<AxSite*>(::GetWindowLongPtrW(host, 0));
}

bool ParseClsid(LPCWSTR text, CLSID& clsid) {
    if (!text || IS_INTRESOURCE(text))
        return false;
    return SUCCEEDED(::CLSIDFromString(const_cast<LPWSTR>(text), &clsid));
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    AxSite* site = reinterpret_cast<AxSite*>(::GetWindowLongPtrW(hwnd, 0));
    switch (msg) {
    case WM_CREATE: {
        CLSID clsid;
        if (ParseClsid(reinterpret_cast<const CREATESTRUCTW*>(lp)->lpszName, clsid))
            ::SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(AxSite::Create(hwnd, clsid)));
        return 0;
    }
    case WM_SIZE:
        if (site)
            site->Layout();
        return 0;
    case WM_SETFOCUS:
        if (site)
            site->Focus();
        return 0;
    case WM_DESTROY:
        if (site) {
            ::SetWindowLongPtrW(hwnd, 0, 0);
            site->Close();
            site->Release();
        }
        return 0;
    default:
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
}

// The site whose host is the window or one of its ancestors within the same top-level window.
AxSite* SiteAbove(HWND window) {
    for (; window; window = ::GetParent(window)) {
        if (AxSite* site = SiteOf(window))
            return site;
        if (!(::GetWindowLongW(window, GWL_STYLE) & WS_CHILD))
            break;
    }
    return nullptr;
}

bool OfferKey(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || t_activeSites == 0)
        return false;
    AxSite* site = SiteAbove(msg.hwnd);
    return site && site->TranslateKey(msg);
}

} // namespace

bool RegisterAxHost() {
    if (s_hostAtom)
        return true;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = HostProc;
    wc.cbWndExtra = sizeof(AxSite*);
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kAxHostClass;
    s_hostAtom = ::RegisterClassExW(&wc);
    return s_hostAtom != 0;
}

bool TranslateControlKey(MSG& msg) {
    const bool taken = OfferKey(msg);
    t_declined = taken ? MSG{} : msg;
    return taken;
}

const AxEvent* AsAxEvent(const NMHDR* header) {
    if (!header || header->code != kAxEventNotify || !SiteOf(header->hwndFrom))
        return nullptr;
    return reinterpret_cast<const AxEvent*>(header);
}

const VARIANT* EventArg(const AxEvent& event, UINT index) {
    const DISPPARAMS* params = event.params;
    if (!params || !params->rgvarg || index >= params->cArgs)
        return nullptr;
    return &params->rgvarg[params->cArgs - 1 - index];
}

bool ArgText(const VARIANT* arg, std::string& text) {
    if (arg && arg->vt == (VT_BYREF | VT_VARIANT))
        arg = arg->pvarVal;
    if (!arg)
        return false;
    if (arg->vt == VT_BSTR) {
        text = Narrow(arg->bstrVal, BstrLength(arg->bstrVal));
        return true;
    }
    if (arg->vt == (VT_BYREF | VT_BSTR) && arg->pbstrVal) {
        text = Narrow(*arg->pbstrVal, BstrLength(*arg->pbstrVal));
        return true;
    }
    return false;
}

VARIANT_BOOL* ArgBoolRef(const VARIANT* arg) {
    return arg && arg->vt == (VT_BYREF | VT_BOOL) ? arg->pboolVal : nullptr;
}

IDispatch* ArgDispatch(const VARIANT* arg) {
    if (arg && arg->vt == (VT_BYREF | VT_VARIANT))
        arg = arg->pvarVal;
    if (!arg)
        return nullptr;
    if (arg->vt == VT_DISPATCH)
        return arg->pdispVal;
    if (arg->vt == (VT_BYREF | VT_DISPATCH) && arg->ppdispVal)
        return *arg->ppdispVal;
    return nullptr;
}

bool TextProperty(IDispatch* object, DISPID id, std::string& text) {
    if (!object)
        return false;
    DISPPARAMS none = {};
    VARIANT result{}; // VT_EMPTY
    const bool read = SUCCEEDED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result,
                                               nullptr, nullptr)) &&
                      ArgText(&result, text);
    ClearVariant(&result);
    return read;
}

BSTR Utf8ToBstr(const std::string& text) {
    const WString wide = Widen(text);
    return AllocBstr(wide.c_str(), static_cast<UINT>(wide.size()));
}

IDispatch* AxControl::Dispatch() const {
    AxSite* site = SiteOf(m_hWnd);
    return site ? site->Dispatch() : nullptr;
}

void AxControl::PreSubclassWindow() {
    AxSite* site = SiteOf(m_hWnd);
    if (site && m_events)
        site->Advise(*m_events);
}

HRESULT AxControl::Invoke(DISPID id, WORD flags, VARIANTARG* args, UINT count) const {
    IDispatch* dispatch = Dispatch();
    if (!dispatch)
        return E_NOINTERFACE;
    std::reverse(args, args + count);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {args, nullptr, count, 0};
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    return dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, nullptr, nullptr, nullptr);
}

} // namespace fw
