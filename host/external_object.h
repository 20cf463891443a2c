// `window.external`: the host's automation object, through which a page drives the child
// controls of its first control's window as a tester would, by control id: it clicks
// them, holds them down and moves the pointer over them as a user's hand does, reads their
// text, state and place, reads them as a screen reader does, gives the control the focus and
// types keys, and reads back the window as it is painted.
#pragma once

#include <oaidl.h>

#include <functional>

#include "host/com_object.h"

namespace kv::host {

class CExternalObject : public ComObject<CExternalObject, IDispatch> {
public:
    // Gives the window of the page's first control, or null while there is none.
    using ControlWindow = std::function<HWND()>;
    // Gives the page's first control the keyboard focus, as a browser does when the user
    // tabs onto it.
    using FocusControl = std::function<HRESULT()>;

    CExternalObject(ControlWindow controlWindow, FocusControl focusControl)
        : controlWindow_(std::move(controlWindow)), focusControl_(std::move(focusControl)) {}

    STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) noexcept override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) noexcept override;
    // A failure reaches script as an exception: E_INVALIDARG for an unknown control id,
    // a point outside the window or an argument of the wrong kind; E_FAIL when the page
    // has no control window; the platform's code when input or the picture fails.
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argError) noexcept override;

private:
    HWND Control() const;
    HWND Child(const DISPPARAMS* params) const;
    // The child with the id of the first argument, or the control window itself for id 0.
    HWND AccessibleTarget(const DISPPARAMS* params) const;
    void Call(DISPID id, const DISPPARAMS* params, VARIANT& result) const;

    ControlWindow controlWindow_;
    FocusControl focusControl_;
};

}  // namespace kv::host
