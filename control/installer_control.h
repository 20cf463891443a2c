// The control part of the Installer: IOleControl (nothing to do: no mnemonics, ambient
// changes ignored) and IQuickActivate, which does SetClientSite, the view advise and the
// event connection in one call.
#pragma once

#include "control/com_part.h"

#include <ocidl.h>

class CInstaller;

class CInstallerControl final : public CPart<IOleControl, IQuickActivate> {
public:
    CInstallerControl(IUnknown* controlling, CInstaller& owner) noexcept
        : CPart(controlling), owner_(owner) {}

    // IOleControl
    HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
    HRESULT STDMETHODCALLTYPE OnMnemonic(MSG* message) override;
    HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID id) override;
    HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) override;

    // IQuickActivate
    HRESULT STDMETHODCALLTYPE QuickActivate(QACONTAINER* container, QACONTROL* control) override;
    HRESULT STDMETHODCALLTYPE SetContentExtent(LPSIZEL size) override;
    HRESULT STDMETHODCALLTYPE GetContentExtent(LPSIZEL size) override;

private:
    CInstaller& owner_;
};
