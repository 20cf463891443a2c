#include "host/window_object.h"

#include <cwchar>

namespace kv::host {
namespace {

enum : DISPID { kDispAlert = 1, kDispClose = 2 };

struct Member {
    const wchar_t* name;
    DISPID id;
};
constexpr Member kMembers[] = {{L"alert", kDispAlert}, {L"close", kDispClose}};

}  // namespace

std::wstring AlertText(const VARIANT& value) {
    const VARIANT* v = &value;
    while (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal) v = v->pvarVal;
    switch (v->vt) {
    case VT_EMPTY: return L"";
    case VT_NULL: return L"null";
    case VT_BOOL: return v->boolVal ? L"true" : L"false";
    case VT_BSTR: return v->bstrVal ? std::wstring(v->bstrVal, ::SysStringLen(v->bstrVal)) : L"";
    default: break;
    }
    VARIANT text;
    ::VariantInit(&text);
    std::wstring out = L"[object]";
    if (SUCCEEDED(::VariantChangeTypeEx(&text, const_cast<VARIANT*>(v), LOCALE_INVARIANT, 0, VT_BSTR)) &&
        text.bstrVal) {
        out.assign(text.bstrVal, ::SysStringLen(text.bstrVal));
    }
    ::VariantClear(&text);
    return out;
}

STDMETHODIMP CWindowObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP CWindowObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
}

STDMETHODIMP CWindowObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids) return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT k = 0; k < count; ++k) {
        ids[k] = DISPID_UNKNOWN;
        for (const Member& member : kMembers) {
            if (k == 0 && std::wcscmp(names[k], member.name) == 0) ids[k] = member.id;
        }
        if (ids[k] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

STDMETHODIMP CWindowObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) {
    if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    if (result) ::VariantInit(result);
    switch (id) {
    case kDispAlert: {
        // Arguments arrive last first; alert shows its first one.
        const bool hasText = params && params->cArgs > 0;
        actions_.alert(hasText ? AlertText(params->rgvarg[params->cArgs - 1]) : std::wstring());
        return S_OK;
    }
    case kDispClose:
        actions_.close();
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

}  // namespace kv::host
