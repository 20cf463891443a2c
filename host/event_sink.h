// Receives a control's events on its default source interface and hands each one, by
// dispid, to the host, which calls the page's handler for it.
#pragma once

#include <oaidl.h>

#include <functional>

#include "host/com_object.h"

namespace kv::host {

class CEventSink : public ComObject<CEventSink, IDispatch> {
public:
    using Handler = std::function<void(DISPID event, DISPPARAMS* params)>;

    CEventSink(const IID& eventInterface, Handler handler)
        : eventInterface_(eventInterface), handler_(std::move(handler)) {}

    // Answers for the event interface's own IID as well: connection points ask for it.
    void* QueryBase(REFIID riid) { return riid == eventInterface_ ? static_cast<IDispatch*>(this) : nullptr; }
    // Stops forwarding; later events (from a control still being torn down) are dropped.
    void Disconnect() { handler_ = nullptr; }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

private:
    IID eventInterface_;
    Handler handler_;
};

}  // namespace kv::host
