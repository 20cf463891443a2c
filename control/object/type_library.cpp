#include "control/object/type_library.h"

#include "base/com_ptr.h"
#include "base/result.h"
#include "control/object/server_state.h"

#include <oleauto.h>

#include <string>

HRESULT LoadModuleTypeInfo(REFGUID guid, ITypeInfo** info) noexcept try {
    if (!info) return E_POINTER;
    *info = nullptr;
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = ::GetModuleFileNameW(KorvendalModuleInstance(), path.data(),
                                              static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) return E_UNEXPECTED;
    path.resize(length);
    kv::ComPtr<ITypeLib> library;
    const HRESULT hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put());
    if (FAILED(hr)) return hr;
    return library->GetTypeInfoOfGuid(guid, info);
} CATCH_RETURN()
