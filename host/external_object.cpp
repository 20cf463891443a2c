#include "host/external_object.h"

#include <cwchar>
#include <initializer_list>
#include <new>
#include <string>

#include "base/result.h"
#include "host/accessible_reader.h"
#include "host/dispatch_names.h"
#include "host/key_input.h"
#include "host/png_writer.h"
#include "host/pointer_input.h"
#include "host/window_capture.h"
#include "host/window_text.h"

namespace kv::host {
namespace {

enum : DISPID {
    kDispClick = 1,
    kDispHover,
    kDispLeave,
    kDispText,
    kDispVisible,
    kDispEnabled,
    kDispRect,
    kDispPixel,
    kDispCapture,
    kDispPress,
    kDispRelease,
    kDispAccName,
    kDispAccRole,
    kDispAccState,
    kDispAccValue,
    kDispFocusControl,
    kDispFocused,
    kDispKey,
};

constexpr DispatchMember kMembers[] = {{L"click", kDispClick},     {L"hover", kDispHover}, {L"leave", kDispLeave},
                               {L"text", kDispText},       {L"visible", kDispVisible},
                               {L"enabled", kDispEnabled}, {L"rect", kDispRect},   {L"pixel", kDispPixel},
                               {L"capture", kDispCapture}, {L"press", kDispPress},
                               {L"release", kDispRelease}, {L"accName", kDispAccName},
                               {L"accRole", kDispAccRole}, {L"accState", kDispAccState},
                               {L"accValue", kDispAccValue}, {L"focusControl", kDispFocusControl},
                               {L"focused", kDispFocused}, {L"key", kDispKey}};

// Thrown inside Invoke only; script sees it as an exception with this number and text.
struct ScriptFailure {
    HRESULT code;
    std::wstring description;
};

void Check(HRESULT hr, const std::wstring& what) {
    if (FAILED(hr)) throw ScriptFailure{hr, what};
}

// Arguments arrive last first.
const VARIANT& Argument(const DISPPARAMS* params, UINT index) {
    if (!params || index >= params->cArgs) {
        throw ScriptFailure{E_INVALIDARG, L"argument " + std::to_wstring(index + 1) + L" is missing"};
    }
    return params->rgvarg[params->cArgs - 1 - index];
}

// The argument converted as script would; `kind` names what it must be.
VARIANT Converted(const DISPPARAMS* params, UINT index, VARTYPE type, const wchar_t* kind) {
    VARIANT value;
    ::VariantInit(&value);
    if (::VariantChangeType(&value, const_cast<VARIANT*>(&Argument(params, index)), 0, type) != S_OK) {
        throw ScriptFailure{E_INVALIDARG, L"argument " + std::to_wstring(index + 1) + L" must be " + kind};
    }
    return value;
}

long NumberArgument(const DISPPARAMS* params, UINT index) {
    return Converted(params, index, VT_I4, L"a number").lVal;
}

std::wstring TextArgument(const DISPPARAMS* params, UINT index) {
    UniqueBstr text;
    *text.put() = Converted(params, index, VT_BSTR, L"a text").bstrVal;
    return text.str();
}

void SetText(VARIANT& result, const std::wstring& text) {
    result.bstrVal = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!result.bstrVal) throw std::bad_alloc();
    result.vt = VT_BSTR;
}

void SetBoolean(VARIANT& result, bool value) {
    result.vt = VT_BOOL;
    result.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

WindowPixels Painted(HWND window) {
    WindowPixels pixels;
    Check(CaptureWindow(window, pixels), L"the control window cannot be captured");
    return pixels;
}

std::wstring Joined(std::initializer_list<long> numbers) {
    std::wstring text;
    for (long number : numbers) text += (text.empty() ? L"" : L",") + std::to_wstring(number);
    return text;
}

}  // namespace

STDMETHODIMP CExternalObject::GetTypeInfoCount(UINT* count) noexcept { return NoTypeInfoCount(count); }

STDMETHODIMP CExternalObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept { return NoTypeInfo(info); }

STDMETHODIMP CExternalObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
    return IdsOfNames(kMembers, names, count, ids);
}

STDMETHODIMP CExternalObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) noexcept try {
    if (result) ::VariantInit(result);
    if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    if (id < kDispClick || id > kDispKey) return DISP_E_MEMBERNOTFOUND;
    VARIANT value;
    ::VariantInit(&value);
    try {
        Call(id, params, value);
    } catch (const ScriptFailure& failure) {
        if (exception) {
            *exception = EXCEPINFO{};
            exception->scode = failure.code;
            exception->bstrSource = ::SysAllocString(L"window.external");
            exception->bstrDescription = ::SysAllocString(failure.description.c_str());
        }
        return DISP_E_EXCEPTION;
    }
    if (result) {
        *result = value;
    } else {
        ::VariantClear(&value);
    }
    return S_OK;
}
CATCH_RETURN()

HWND CExternalObject::Control() const {
    const HWND control = controlWindow_ ? controlWindow_() : nullptr;
    if (!control || !::IsWindow(control)) throw ScriptFailure{E_FAIL, L"the page has no control window"};
    return control;
}

HWND CExternalObject::Child(const DISPPARAMS* params) const {
    const HWND control = Control();
    const long id = NumberArgument(params, 0);
    const HWND child = ::GetDlgItem(control, static_cast<int>(id));
    if (!child) {
        throw ScriptFailure{E_INVALIDARG, L"the control window has no child with id " + std::to_wstring(id)};
    }
    return child;
}

HWND CExternalObject::AccessibleTarget(const DISPPARAMS* params) const {
    return NumberArgument(params, 0) == 0 ? Control() : Child(params);
}

void CExternalObject::Call(DISPID id, const DISPPARAMS* params, VARIANT& result) const {
    switch (id) {
    case kDispClick:
        Check(ClickOn(Child(params)), L"the pointer cannot click that child");
        return;
    case kDispHover:
        Check(MovePointerOnto(Child(params)), L"the pointer cannot reach that child");
        return;
    case kDispLeave:
        Child(params);  // an unknown id is a mistake here as well
        Check(MovePointerOff(Control()), L"the pointer cannot leave the control window");
        return;
    case kDispPress:
        Check(PressOn(Child(params)), L"the pointer cannot press that child");
        return;
    case kDispRelease:
        Child(params);
        Check(ReleaseOff(Control()), L"the pointer cannot leave the control window");
        return;
    case kDispText:
        SetText(result, WindowText(Child(params)));
        return;
    case kDispVisible:
        SetBoolean(result, (::GetWindowLongW(Child(params), GWL_STYLE) & WS_VISIBLE) != 0);
        return;
    case kDispEnabled:
        SetBoolean(result, ::IsWindowEnabled(Child(params)) != FALSE);
        return;
    case kDispRect: {
        const HWND child = Child(params);
        RECT rect = {};
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, Control(), reinterpret_cast<POINT*>(&rect), 2);
        SetText(result, Joined({rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}));
        return;
    }
    case kDispPixel: {
        const long x = NumberArgument(params, 0);
        const long y = NumberArgument(params, 1);
        const WindowPixels pixels = Painted(Control());
        if (x < 0 || y < 0 || x >= pixels.width || y >= pixels.height) {
            throw ScriptFailure{E_INVALIDARG, L"the point " + Joined({x, y}) + L" lies outside the control window (" +
                                                  Joined({pixels.width, pixels.height}) + L")"};
        }
        const COLORREF colour = pixels.At(x, y);
        SetText(result, Joined({GetRValue(colour), GetGValue(colour), GetBValue(colour)}));
        return;
    }
    case kDispCapture: {
        const std::wstring path = TextArgument(params, 0);
        Check(WritePng(path, Painted(Control())), L"the picture cannot be written to " + path);
        return;
    }
    case kDispAccName:
    case kDispAccRole:
    case kDispAccState:
    case kDispAccValue: {
        AccessibleReading reading;
        Check(ReadAccessible(AccessibleTarget(params), reading), L"the system gives no accessible object for that child");
        if (id == kDispAccName) {
            SetText(result, reading.name);
        } else if (id == kDispAccValue) {
            SetText(result, reading.value);
        } else {
            result.vt = VT_I4;
            result.lVal = id == kDispAccRole ? reading.role : reading.state;
        }
        return;
    }
    case kDispFocusControl:
        Control();
        Check(focusControl_ ? focusControl_() : E_NOTIMPL, L"the control cannot take the focus");
        return;
    case kDispFocused: {
        const HWND control = Control();
        const HWND focus = ::GetFocus();
        result.vt = VT_I4;
        result.lVal = focus && ::IsChild(control, focus) ? ::GetDlgCtrlID(focus) : 0;
        return;
    }
    case kDispKey: {
        const std::wstring name = TextArgument(params, 0);
        Check(PressKey(name), L"the key " + name + L" cannot be sent");
        return;
    }
    default:
        return;
    }
}

}  // namespace kv::host
