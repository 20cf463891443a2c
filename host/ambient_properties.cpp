#include "host/ambient_properties.h"

#include <olectl.h>

namespace kv::host {
namespace {

void SetBool(VARIANT* value, bool on) {
    value->vt = VT_BOOL;
    value->boolVal = on ? VARIANT_TRUE : VARIANT_FALSE;
}

void SetInt(VARIANT* value, LONG number) {
    value->vt = VT_I4;
    value->lVal = number;
}

}  // namespace

bool GetAmbientProperty(DISPID id, const std::wstring& objectName, VARIANT* value) {
    ::VariantInit(value);
    switch (id) {
    // A page in a browser runs its controls in user mode, never in a designer.
    case DISPID_AMBIENT_USERMODE: SetBool(value, true); return true;
    case DISPID_AMBIENT_UIDEAD: SetBool(value, false); return true;
    case DISPID_AMBIENT_SHOWHATCHING: SetBool(value, false); return true;
    case DISPID_AMBIENT_SHOWGRABHANDLES: SetBool(value, false); return true;
    case DISPID_AMBIENT_DISPLAYASDEFAULT: SetBool(value, false); return true;
    case DISPID_AMBIENT_MESSAGEREFLECT: SetBool(value, false); return true;
    case DISPID_AMBIENT_AUTOCLIP: SetBool(value, true); return true;
    case DISPID_AMBIENT_SUPPORTSMNEMONICS: SetBool(value, true); return true;
    // The page's colours: the window colours, as a page without a style has them.
    case DISPID_AMBIENT_BACKCOLOR: SetInt(value, static_cast<LONG>(::GetSysColor(COLOR_WINDOW))); return true;
    case DISPID_AMBIENT_FORECOLOR: SetInt(value, static_cast<LONG>(::GetSysColor(COLOR_WINDOWTEXT))); return true;
    case DISPID_AMBIENT_LOCALEID: SetInt(value, static_cast<LONG>(::GetUserDefaultLCID())); return true;
    case DISPID_AMBIENT_DISPLAYNAME:
        value->vt = VT_BSTR;
        value->bstrVal = ::SysAllocStringLen(objectName.data(), static_cast<UINT>(objectName.size()));
        return true;
    default:
        return false;
    }
}

}  // namespace kv::host
