// ActiveX controls in dialogs. A dialog template names a control by its CLSID as the text of a
// child window of class kAxHostClass; that host window creates the control, keeps it in place
// over its whole client area, and passes the control's events to its parent as WM_NOTIFY.
// Wrapper classes bind to the host by data exchange and call the control by dispatch id.
#pragma once
#include <ole2.h>

#include <string>

#include "framework/control.h"

namespace fw {

constexpr wchar_t kAxHostClass[] = L"FwAxHost";

// Registers the host window class; OLE must be initialised on the thread that creates hosts.
bool RegisterAxHost();

// Offers a keyboard message bound for a hosted control's windows to the control first; true
// when the control took it and the caller must not handle it. The system's modal dialog loop
// does this through a message-filter hook; a message loop of one's own calls it.
bool TranslateControlKey(MSG& msg);

// WM_NOTIFY code of a control event (positive codes are free for applications); the NMHDR is
// the head of an AxEvent, and the handler's result is not used.
constexpr UINT kAxEventNotify = 0x4158;

struct AxEvent {
    NMHDR hdr;
    DISPID dispid;
    const DISPPARAMS* params;
};

// The event carried by a notification, or null when it is some other notification.
const AxEvent* AsAxEvent(const NMHDR* header);
// The argument at this position in calling order, or null when there are fewer.
const VARIANT* EventArg(const AxEvent& event, UINT index);
// A string argument, given directly or by reference, in UTF-8.
bool ArgText(const VARIANT* arg, std::string& text);
// The target of a Boolean argument given by reference, or null.
VARIANT_BOOL* ArgBoolRef(const VARIANT* arg);
// An object argument, given directly or by reference, or null.
IDispatch* ArgDispatch(const VARIANT* arg);
// A string property of an object, in UTF-8; false when the object has none.
bool TextProperty(IDispatch* object, DISPID id, std::string& text);

// A UTF-8 string as a BSTR the caller frees; null when out of memory.
BSTR Utf8ToBstr(const std::string& text);
// The former name, for callers not yet renamed; their text is UTF-8 too now.

// Base of the wrappers of hosted controls.
class AxControl : public Control {
public:
    // events: the dispatch interface whose events the host passes on, or null for none.
    explicit AxControl(const IID* events) : m_events(events) {}

    // False when the control could not be created here, for instance when it is not installed.
    bool IsCreated() const { return Dispatch() != nullptr; }
    IDispatch* Dispatch() const;

protected:
    void PreSubclassWindow() override;
    // args in calling order; reversed in place into the order that IDispatch wants. No wrapper
    // reads a result, so none is asked for.
    HRESULT Invoke(DISPID id, WORD flags, VARIANTARG* args, UINT count) const;

private:
    const IID* m_events;
};

} // namespace fw
