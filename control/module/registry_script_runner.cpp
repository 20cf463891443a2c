#include "control/module/registry_script_runner.h"

#include "base/result.h"
#include "control/module/module.h"
#include "control/object/server_state.h"
#include "control/module/registry_script_parser.h"

namespace kv {
namespace {

HRESULT LoadScriptText(UINT resourceId, std::wstring& text) {
    const HINSTANCE instance = KorvendalModuleInstance();
    const HRSRC resource = ::FindResourceW(instance, MAKEINTRESOURCEW(resourceId), L"REGISTRY");
    RETURN_LAST_ERROR_IF_NULL(resource);
    const HGLOBAL loaded = ::LoadResource(instance, resource);
    RETURN_LAST_ERROR_IF_NULL(loaded);
    const auto* bytes = static_cast<const char*>(::LockResource(loaded));
    const DWORD size = ::SizeofResource(instance, resource);
    RETURN_HR_IF(E_FAIL, bytes == nullptr || size == 0);
    // The scripts are stored as narrow text; anything outside ASCII is in the ANSI code page.
    const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(size), nullptr, 0);
    RETURN_HR_IF(::kv::HresultFromLastError(), length <= 0);
    text.assign(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(size), text.data(), length);
    return S_OK;
}

}  // namespace

HRESULT GetModuleFilePath(std::wstring& path) {
    std::wstring buffer(32768, L'\0');
    const DWORD length =
        ::GetModuleFileNameW(KorvendalModuleInstance(), buffer.data(), static_cast<DWORD>(buffer.size()));
    RETURN_HR_IF(::kv::HresultFromLastError(), length == 0 || length >= buffer.size());
    buffer.resize(length);
    path = std::move(buffer);
    return S_OK;
}

HRESULT RunRegistryScriptResource(UINT resourceId, RegistryScriptMode mode, RegistryReplacements replacements) try {
    std::wstring path;
    RETURN_IF_FAILED(GetModuleFilePath(path));
    std::wstring modulePath;
    RETURN_IF_FAILED(ModulePathReplacement(path, modulePath));
    KorvendalModule().AddCommonReplacements(replacements);
    // An in-process server is never the process's main program, so MODULE needs no
    // surrounding double quotes and equals Module_Raw.
    replacements.Add(L"MODULE", modulePath);
    replacements.Add(L"Module_Raw", modulePath);

    std::wstring text;
    RETURN_IF_FAILED(LoadScriptText(resourceId, text));
    std::wstring expanded;
    RETURN_IF_FAILED(ExpandRegistryScript(text, replacements, expanded));
    const RegistryScriptParse parsed = ParseRegistryScript(expanded);
    RETURN_HR_IF(DISP_E_EXCEPTION, !parsed.ok);
    return ApplyRegistryScript(parsed.script, mode, &PredefinedRegistryRoot);
}
CATCH_RETURN()

}  // namespace kv
