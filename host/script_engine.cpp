#include "host/script_engine.h"

#include "base/result.h"

namespace kv::host {
namespace {

// The import libraries lack the 64-bit parser's identifier; both are spelled out here.
#ifdef _WIN64
constexpr GUID kIidActiveScriptParse = {0xc7ef7658, 0xe1ee, 0x480e, {0x97, 0xea, 0xd5, 0x2c, 0xb4, 0xd7, 0x6d, 0x17}};
#else
constexpr GUID kIidActiveScriptParse = {0xbb1a2ae2, 0xa4f9, 0x11cf, {0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64}};
#endif

}  // namespace

HRESULT ScriptEngine::Start(ComPtr<CScriptSite> site) {
    CLSID jscript;
    RETURN_IF_FAILED(::CLSIDFromProgID(L"JScript", &jscript));
    RETURN_IF_FAILED(::CoCreateInstance(jscript, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IActiveScript),
                                        script_.put_void()));
    RETURN_IF_FAILED(script_->QueryInterface(kIidActiveScriptParse, parse_.put_void()));
    RETURN_IF_FAILED(script_->SetScriptSite(site.get()));
    RETURN_IF_FAILED(parse_->InitNew());
    return script_->SetScriptState(SCRIPTSTATE_CONNECTED);
}

HRESULT ScriptEngine::AddNamedItem(const std::wstring& name, DWORD flags) {
    RETURN_HR_IF(E_UNEXPECTED, !script_);
    return script_->AddNamedItem(name.c_str(), flags);
}

HRESULT ScriptEngine::Run(const std::wstring& text, unsigned firstLine) {
    RETURN_HR_IF(E_UNEXPECTED, !parse_);
    EXCEPINFO exception = {};
    const HRESULT hr = parse_->ParseScriptText(text.c_str(), nullptr, nullptr, nullptr, 0,
                                               firstLine > 0 ? firstLine - 1 : 0, SCRIPTTEXT_ISVISIBLE,
                                               nullptr, &exception);
    ::SysFreeString(exception.bstrSource);
    ::SysFreeString(exception.bstrDescription);
    ::SysFreeString(exception.bstrHelpFile);
    return hr;
}

HRESULT ScriptEngine::Call(const std::wstring& function, DISPPARAMS* params, EXCEPINFO* exception) {
    RETURN_HR_IF(E_UNEXPECTED, !script_);
    ComPtr<IDispatch> global;
    RETURN_IF_FAILED(script_->GetScriptDispatch(nullptr, global.put()));
    LPOLESTR name = const_cast<LPOLESTR>(function.c_str());
    DISPID id = DISPID_UNKNOWN;
    RETURN_IF_FAILED(global->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));
    DISPPARAMS none = {};
    VARIANT result;
    ::VariantInit(&result);
    const HRESULT hr = global->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                      params ? params : &none, &result, exception, nullptr);
    ::VariantClear(&result);
    return hr;
}

void ScriptEngine::Close() {
    parse_.reset();
    if (script_) {
        script_->Close();
        script_.reset();
    }
}

}  // namespace kv::host
