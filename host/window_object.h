// The page's `window` object: the global members alert(text) and close() that pages call
// in a browser, answered by the host.
#pragma once

#include <oaidl.h>

#include <functional>
#include <string>

#include "host/com_object.h"

namespace kv::host {

struct WindowActions {
    std::function<void(const std::wstring&)> alert;
    std::function<void()> close;  // ends the host once the running script has returned
};

class CWindowObject : public ComObject<CWindowObject, IDispatch> {
public:
    explicit CWindowObject(WindowActions actions) : actions_(std::move(actions)) {}

    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

private:
    WindowActions actions_;
};

// The text alert() shows for a script value: strings as they are, booleans and null the
// way script writes them, other values through the platform's conversion.
std::wstring AlertText(const VARIANT& value);

}  // namespace kv::host
