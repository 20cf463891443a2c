#include "host/window_object.h"

#include <cwchar>

#include "base/result.h"
#include "host/dispatch_names.h"

namespace kv::host {
namespace {

enum : DISPID { kDispAlert = 1, kDispClose, kDispSetTimeout, kDispClearTimeout, kDispExternal };

constexpr DispatchMember kMembers[] = {{L"alert", kDispAlert},
                               {L"close", kDispClose},
                               {L"setTimeout", kDispSetTimeout},
                               {L"clearTimeout", kDispClearTimeout},
                               {L"external", kDispExternal}};

const VARIANT* Dereferenced(const VARIANT& value) {
    const VARIANT* v = &value;
    while (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal) v = v->pvarVal;
    return v;
}

// A whole number of script, 0 when absent or not a number (as a browser reads a delay).
long NumberOrZero(DISPPARAMS* params, UINT index) {
    if (!params || index >= params->cArgs) return 0;
    VARIANT number;
    ::VariantInit(&number);
    if (::VariantChangeType(&number, &params->rgvarg[params->cArgs - 1 - index], 0, VT_I4) != S_OK) return 0;
    return number.lVal;
}

}  // namespace

std::wstring AlertText(const VARIANT& value) {
    const VARIANT* v = Dereferenced(value);
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

TimerCallback TimerCallbackFrom(const VARIANT& value) {
    const VARIANT* v = Dereferenced(value);
    TimerCallback callback;
    if (v->vt == VT_DISPATCH && v->pdispVal) {
        callback.function = ComPtr<IDispatch>(v->pdispVal);
    } else {
        callback.code = AlertText(*v);
    }
    return callback;
}

STDMETHODIMP CWindowObject::GetTypeInfoCount(UINT* count) noexcept { return NoTypeInfoCount(count); }

STDMETHODIMP CWindowObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept { return NoTypeInfo(info); }

STDMETHODIMP CWindowObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
    return IdsOfNames(kMembers, names, count, ids);
}

STDMETHODIMP CWindowObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) noexcept try {
    if (result) ::VariantInit(result);
    if (id == kDispExternal) {
        if (!(flags & DISPATCH_PROPERTYGET) || !actions_.external) return DISP_E_MEMBERNOTFOUND;
        if (result) {
            result->vt = VT_DISPATCH;
            return actions_.external.copy_to(&result->pdispVal);
        }
        return S_OK;
    }
    if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    // Arguments arrive last first.
    const UINT count = params ? params->cArgs : 0;
    switch (id) {
    case kDispAlert:
        // alert shows its first argument.
        actions_.alert(count > 0 ? AlertText(params->rgvarg[count - 1]) : std::wstring());
        return S_OK;
    case kDispClose:
        actions_.close();
        return S_OK;
    case kDispSetTimeout: {
        if (count == 0) return DISP_E_BADPARAMCOUNT;
        const long timer = actions_.setTimeout(TimerCallbackFrom(params->rgvarg[count - 1]), NumberOrZero(params, 1));
        if (result) {
            result->vt = VT_I4;
            result->lVal = timer;
        }
        return S_OK;
    }
    case kDispClearTimeout:
        actions_.clearTimeout(NumberOrZero(params, 0));
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}
CATCH_RETURN()

}  // namespace kv::host
