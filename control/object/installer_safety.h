// The safety part of the Installer: IObjectSafety. The control says it is safe for untrusted
// callers and data (options 1 and 2); the options a host sets are kept and reported only.
// On a page outside the allowed sites it refuses every option, so that a browser neither
// scripts nor initialises it.
#pragma once

#include "control/object/com_part.h"
#include "control/object/site_guard.h"

#include <objsafe.h>

// mingw-w64's objsafe.h declares no uuid for the interface, which __uuidof needs.
__CRT_UUID_DECL(IObjectSafety, 0xcb5bdc81, 0x93c1, 0x11cf, 0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64)

class CInstallerSafety final : public CPart<IObjectSafety> {
public:
    CInstallerSafety(IUnknown* controlling, kv::SiteGuard& siteGuard) noexcept
        : CPart(controlling), siteGuard_(siteGuard) {}

    HRESULT STDMETHODCALLTYPE GetInterfaceSafetyOptions(REFIID riid, DWORD* supported,
                                                        DWORD* enabled) override;
    HRESULT STDMETHODCALLTYPE SetInterfaceSafetyOptions(REFIID riid, DWORD mask,
                                                        DWORD enabled) override;

private:
    HRESULT Answers(REFIID riid);

    kv::SiteGuard& siteGuard_;
    DWORD current_ = 0;
};
