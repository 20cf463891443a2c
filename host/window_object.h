// The page's `window` object: the global members that pages use in a browser, alert(text),
// close(), setTimeout(callback, ms) and clearTimeout(id), and the host's own `external`.
#pragma once

#include <oaidl.h>

#include <functional>
#include <string>

#include "host/com_object.h"
#include "host/script_timers.h"

namespace kv::host {

struct WindowActions {
    std::function<void(const std::wstring&)> alert;
    std::function<void()> close;  // ends the host once the running script has returned
    std::function<long(TimerCallback, long milliseconds)> setTimeout;  // gives the timer's id
    std::function<void(long id)> clearTimeout;
    ComPtr<IDispatch> external;
};

class CWindowObject : public ComObject<CWindowObject, IDispatch> {
public:
    explicit CWindowObject(WindowActions actions) : actions_(std::move(actions)) {}

    STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) noexcept override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) noexcept override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argError) noexcept override;

private:
    WindowActions actions_;
};

// The text alert() shows for a script value: strings as they are, booleans and null the
// way script writes them, other values through the platform's conversion.
std::wstring AlertText(const VARIANT& value);

// What setTimeout runs for a script value: a function object, anything else as code.
TimerCallback TimerCallbackFrom(const VARIANT& value);

}  // namespace kv::host
