// The event part of the Installer: IConnectionPointContainer with its one connection point,
// for _IInstallerEvents.
#pragma once

#include "control/com_part.h"

#include <ocidl.h>

class CInstaller;

class CInstallerConnectionPoints final : public CPart<IConnectionPointContainer> {
public:
    CInstallerConnectionPoints(IUnknown* controlling, CInstaller& owner) noexcept
        : CPart(controlling), owner_(owner) {}

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

private:
    CInstaller& owner_;
};
