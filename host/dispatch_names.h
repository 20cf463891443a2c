// Late-bound objects of the host without type information: a fixed table of member names
// and dispids answers GetIDsOfNames, and there is no type information to give.
#pragma once

#include <oaidl.h>

#include <cstddef>
#include <cwchar>

namespace kv::host {

struct DispatchMember {
    const wchar_t* name;
    DISPID id;
};

// The dispid of the first name (no named arguments), by exact name; DISP_E_UNKNOWNNAME when
// any name is not a member.
template <std::size_t N>
HRESULT IdsOfNames(const DispatchMember (&members)[N], LPOLESTR* names, UINT count, DISPID* ids) noexcept {
    if (!names || !ids) return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT k = 0; k < count; ++k) {
        ids[k] = DISPID_UNKNOWN;
        for (const DispatchMember& member : members) {
            if (k == 0 && std::wcscmp(names[k], member.name) == 0) ids[k] = member.id;
        }
        if (ids[k] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

inline HRESULT NoTypeInfoCount(UINT* count) noexcept {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

inline HRESULT NoTypeInfo(ITypeInfo** info) noexcept {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
}

}  // namespace kv::host
