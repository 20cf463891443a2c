// The control part of the Installer: IOleControl (nothing to do: no mnemonics, ambient
// changes ignored) and IQuickActivate, which does SetClientSite, the view advise and the
// event connection in one call.
#pragma once

#include "control/object/com_part.h"

#include <ocidl.h>

struct CEmbeddingState;
class CInstallerOleObject;
class CInstallerView;
class CProxy_IInstallerEvents;

class CInstallerControl final : public CPart<IOleControl, IQuickActivate> {
public:
    CInstallerControl(IUnknown* controlling, CEmbeddingState& embedding, CInstallerOleObject& oleObject,
                      CInstallerView& view, CProxy_IInstallerEvents& events) noexcept
        : CPart(controlling), embedding_(embedding), oleObject_(oleObject), view_(view), events_(events) {}

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
    CEmbeddingState& embedding_;
    CInstallerOleObject& oleObject_;
    CInstallerView& view_;
    CProxy_IInstallerEvents& events_;
};
