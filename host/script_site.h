// The JScript engine's site: hands out the page's named items (the controls by their id
// and `window`) and reports script errors with their line.
#pragma once

#include <activscp.h>

#include <functional>
#include <map>
#include <string>

#include "host/com_object.h"

namespace kv::host {

struct ScriptError {
    std::wstring description;
    unsigned line = 0;    // 1-based page line, 0 when the engine gave none
    unsigned column = 0;  // 1-based
};

class CScriptSite : public ComObject<CScriptSite, IActiveScriptSite, IActiveScriptSiteWindow> {
public:
    CScriptSite(HWND window, std::function<void(const ScriptError&)> onError)
        : window_(window), onError_(std::move(onError)) {}

    // `object` answers for `name` in script; `typeInfo` may be null.
    void AddItem(const std::wstring& name, ComPtr<IUnknown> object, ComPtr<ITypeInfo> typeInfo);
    void Clear() { items_.clear(); }

    // IActiveScriptSite
    STDMETHODIMP GetLCID(LCID* lcid) override;
    STDMETHODIMP GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** object, ITypeInfo** typeInfo) override;
    STDMETHODIMP GetDocVersionString(BSTR* version) override;
    STDMETHODIMP OnScriptTerminate(const VARIANT* result, const EXCEPINFO* exception) override;
    STDMETHODIMP OnStateChange(SCRIPTSTATE state) override;
    STDMETHODIMP OnScriptError(IActiveScriptError* error) override;
    STDMETHODIMP OnEnterScript() override;
    STDMETHODIMP OnLeaveScript() override;
    // IActiveScriptSiteWindow
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;

private:
    struct Item {
        ComPtr<IUnknown> object;
        ComPtr<ITypeInfo> typeInfo;
    };
    HWND window_;
    std::function<void(const ScriptError&)> onError_;
    std::map<std::wstring, Item> items_;
};

}  // namespace kv::host
