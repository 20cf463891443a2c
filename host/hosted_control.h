// One control of the page: created from its class id, sited in the host window, its
// events connected to a sink, activated in place, and closed again in the right order.
#pragma once

#include <ocidl.h>
#include <oleidl.h>

#include <string>

#include "base/com_ptr.h"
#include "host/client_site.h"
#include "host/event_sink.h"

namespace kv::host {

class HostedControl {
public:
    HostedControl() = default;
    HostedControl(const HostedControl&) = delete;
    HostedControl& operator=(const HostedControl&) = delete;
    ~HostedControl() { Close(); }

    // "clsid:{...}" or "clsid:..." with or without braces.
    static HRESULT ParseClassId(const std::wstring& classId, CLSID& clsid);

    // Creates the object and gives it its site (before or after initialisation, as the
    // control asks through its miscellaneous status); the object is not active yet.
    HRESULT Create(const CLSID& clsid, ComPtr<CClientSite> site);
    // What a browser asks before it initialises and then scripts a control that declares
    // itself safe: the control's answers to the options "safe for untrusted data" and "safe
    // for untrusted callers" (S_OK for a control without IObjectSafety). The host reports a
    // refusal and goes on, so that a page can show what the control does when scripted.
    HRESULT DataSafety() const { return dataSafety_; }
    HRESULT CallerSafety() const { return callerSafety_; }
    // The type of the control's default event interface, from its class information.
    HRESULT GetEventInterface(IID& eventInterface, ComPtr<ITypeInfo>& typeInfo) const;
    // Connects `sink` to the control's connection point for `eventInterface`.
    HRESULT Advise(const IID& eventInterface, ComPtr<CEventSink> sink);
    // In-place activation: the control creates its window inside the host window.
    HRESULT Activate();
    // Gives the active control the first look at a keystroke (tab moves, mnemonics);
    // true when it took the message.
    bool TranslateAccelerator(MSG& message) const;
    // Gives the control the keyboard focus as a browser does when the user tabs onto it:
    // the control becomes UI active and its window takes the focus.
    HRESULT TakeFocus();
    // The control's size from its own extent, in pixels.
    SIZE NaturalSize() const;

    // The window the active control reports through IOleWindow; null before activation.
    HWND Window() const;
    ComPtr<IUnknown> Unknown() const;
    ComPtr<ITypeInfo> ClassInfo() const;
    void Close();

private:
    ComPtr<IOleObject> object_;
    ComPtr<CClientSite> site_;
    ComPtr<IConnectionPoint> connection_;
    ComPtr<CEventSink> sink_;
    DWORD cookie_ = 0;
    HRESULT dataSafety_ = S_OK;
    HRESULT callerSafety_ = S_OK;
};

}  // namespace kv::host
