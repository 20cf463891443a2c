#include "host/script_site.h"

namespace kv::host {

void CScriptSite::AddItem(const std::wstring& name, ComPtr<IUnknown> object, ComPtr<ITypeInfo> typeInfo) {
    items_[name] = Item{std::move(object), std::move(typeInfo)};
}

STDMETHODIMP CScriptSite::GetLCID(LCID*) { return E_NOTIMPL; }  // the engine's default

STDMETHODIMP CScriptSite::GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** object, ITypeInfo** typeInfo) {
    if (object) *object = nullptr;
    if (typeInfo) *typeInfo = nullptr;
    if (!name) return E_INVALIDARG;
    if (((mask & SCRIPTINFO_IUNKNOWN) && !object) || ((mask & SCRIPTINFO_ITYPEINFO) && !typeInfo)) {
        return E_POINTER;
    }
    const auto found = items_.find(name);
    if (found == items_.end()) return TYPE_E_ELEMENTNOTFOUND;
    if (mask & SCRIPTINFO_IUNKNOWN) found->second.object.copy_to(object);
    if (mask & SCRIPTINFO_ITYPEINFO) found->second.typeInfo.copy_to(typeInfo);
    return S_OK;
}

STDMETHODIMP CScriptSite::GetDocVersionString(BSTR* version) {
    if (version) *version = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CScriptSite::OnScriptTerminate(const VARIANT*, const EXCEPINFO*) { return S_OK; }
STDMETHODIMP CScriptSite::OnStateChange(SCRIPTSTATE) { return S_OK; }

STDMETHODIMP CScriptSite::OnScriptError(IActiveScriptError* error) {
    if (!error) return E_POINTER;
    EXCEPINFO info = {};
    ScriptError report;
    if (SUCCEEDED(error->GetExceptionInfo(&info))) {
        if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
        if (info.bstrDescription) report.description.assign(info.bstrDescription, ::SysStringLen(info.bstrDescription));
        if (report.description.empty()) {
            wchar_t code[32];
            wsprintfW(code, L"error 0x%08lX", static_cast<unsigned long>(info.scode ? info.scode : info.wCode));
            report.description = code;
        }
        ::SysFreeString(info.bstrSource);
        ::SysFreeString(info.bstrDescription);
        ::SysFreeString(info.bstrHelpFile);
    }
    DWORD context = 0;
    ULONG line = 0;
    LONG column = 0;
    if (SUCCEEDED(error->GetSourcePosition(&context, &line, &column))) {
        report.line = line + 1;  // the engine counts lines and columns from 0
        report.column = static_cast<unsigned>(column + 1);
    }
    if (onError_) onError_(report);
    return S_OK;
}

STDMETHODIMP CScriptSite::OnEnterScript() { return S_OK; }
STDMETHODIMP CScriptSite::OnLeaveScript() { return S_OK; }

STDMETHODIMP CScriptSite::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = window_;
    return S_OK;
}

STDMETHODIMP CScriptSite::EnableModeless(BOOL) { return S_OK; }

}  // namespace kv::host
