#include "control/object/installer_safety.h"

namespace {
constexpr DWORD kSupportedOptions =
    INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
}  // namespace

HRESULT CInstallerSafety::Answers(REFIID riid) {
    IUnknown* found = nullptr;
    const HRESULT hr = Controlling()->QueryInterface(riid, reinterpret_cast<void**>(&found));
    if (SUCCEEDED(hr) && found) found->Release();
    return hr;
}

HRESULT CInstallerSafety::GetInterfaceSafetyOptions(REFIID riid, DWORD* supported,
                                                    DWORD* enabled) {
    if (!supported || !enabled) return E_POINTER;
    const HRESULT hr = Answers(riid);
    if (FAILED(hr)) {
        *supported = 0;
        *enabled = 0;
        return hr;
    }
    *supported = kSupportedOptions;
    *enabled = current_;
    return S_OK;
}

HRESULT CInstallerSafety::SetInterfaceSafetyOptions(REFIID riid, DWORD mask, DWORD enabled) {
    if (!siteGuard_.Allowed()) return E_FAIL;  // site lock
    if (FAILED(Answers(riid))) return E_NOINTERFACE;
    if (mask & ~kSupportedOptions) return E_FAIL;
    current_ = (mask & enabled) | (~mask & current_);
    return S_OK;
}
