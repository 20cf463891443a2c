// The event part of the Installer: IConnectionPointContainer with its one connection point,
// for _IInstallerEvents.
#pragma once

#include "control/object/com_part.h"

#include <ocidl.h>

class CProxy_IInstallerEvents;

class CInstallerConnectionPoints final : public CPart<IConnectionPointContainer> {
public:
    CInstallerConnectionPoints(IUnknown* controlling, CProxy_IInstallerEvents& events) noexcept
        : CPart(controlling), events_(events) {}

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

private:
    CProxy_IInstallerEvents& events_;
};
