#include "control/module/type_library_registration.h"

#include "base/com_ptr.h"
#include "base/result.h"

#include <oleauto.h>

namespace kv {
namespace {

std::wstring WithTlbExtension(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/:");
    const size_t dot = path.find_last_of(L'.');
    const bool hasExtension = dot != std::wstring::npos && (separator == std::wstring::npos || dot > separator);
    return (hasExtension ? path.substr(0, dot) : path) + L".tlb";
}

HRESULT LoadModuleTypeLibrary(const std::wstring& modulePath, ComPtr<ITypeLib>& library, std::wstring& loadedFrom) {
    loadedFrom = modulePath;
    HRESULT hr = ::LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, library.put());
    if (FAILED(hr)) {
        loadedFrom = WithTlbExtension(modulePath);
        hr = ::LoadTypeLibEx(loadedFrom.c_str(), REGKIND_NONE, library.put());
    }
    return hr;
}

}  // namespace

std::wstring HelpFolderOf(const std::wstring& helpFile) {
    const size_t separator = helpFile.find_last_of(L"\\/:");
    return separator == std::wstring::npos ? std::wstring() : helpFile.substr(0, separator);
}

HRESULT RegisterModuleTypeLibrary(const std::wstring& modulePath) try {
    ComPtr<ITypeLib> library;
    std::wstring loadedFrom;
    RETURN_IF_FAILED(LoadModuleTypeLibrary(modulePath, library, loadedFrom));
    UniqueBstr helpFile;
    std::wstring helpFolder;
    if (SUCCEEDED(library->GetDocumentation(-1, nullptr, nullptr, nullptr, helpFile.put()))) {
        helpFolder = HelpFolderOf(helpFile.str());
    }
    return ::RegisterTypeLib(library.get(), const_cast<LPOLESTR>(loadedFrom.c_str()),
                             const_cast<LPOLESTR>(helpFolder.c_str()));
}
CATCH_RETURN()

HRESULT UnregisterModuleTypeLibrary(const std::wstring& modulePath) try {
    ComPtr<ITypeLib> library;
    std::wstring loadedFrom;
    RETURN_IF_FAILED(LoadModuleTypeLibrary(modulePath, library, loadedFrom));
    TLIBATTR* attributes = nullptr;
    RETURN_IF_FAILED(library->GetLibAttr(&attributes));
    const TLIBATTR copy = *attributes;
    library->ReleaseTLibAttr(attributes);
    return ::UnRegisterTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid, copy.syskind);
}
CATCH_RETURN()

}  // namespace kv
