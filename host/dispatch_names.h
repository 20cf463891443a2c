// Late-bound objects of the host without type information: a fixed table of member names
// and dispids answers GetIDsOfNames.
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

}  // namespace kv::host
