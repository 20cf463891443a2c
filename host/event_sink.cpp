#include "host/event_sink.h"

namespace kv::host {

STDMETHODIMP CEventSink::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP CEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
}

STDMETHODIMP CEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) {
    for (UINT k = 0; ids && k < count; ++k) ids[k] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP CEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO*, UINT*) {
    if (result) ::VariantInit(result);
    // Keep this sink alive while the page's handler runs: it may unadvise it.
    ComPtr<CEventSink> self(this);
    if (Handler handler = handler_) handler(id, params);
    return S_OK;
}

}  // namespace kv::host
