#include "control/object/installer_control.h"

#include "base/result.h"
#include "control/object/embedding_state.h"
#include "control/object/installer_events.h"
#include "control/object/installer_ole_object.h"
#include "control/object/installer_view.h"

HRESULT CInstallerControl::GetControlInfo(CONTROLINFO*) { return E_NOTIMPL; }

HRESULT CInstallerControl::OnMnemonic(MSG*) { return E_NOTIMPL; }

HRESULT CInstallerControl::OnAmbientPropertyChange(DISPID) { return S_OK; }

HRESULT CInstallerControl::FreezeEvents(BOOL) { return S_OK; }

HRESULT CInstallerControl::QuickActivate(QACONTAINER* container, QACONTROL* control) {
    if (!container || !control) return E_POINTER;
    if (container->cbSize < sizeof(QACONTAINER) || control->cbSize < sizeof(QACONTROL))
        return E_INVALIDARG;
    const ULONG size = control->cbSize;
    *control = QACONTROL{};
    control->cbSize = size;

    RETURN_IF_FAILED(oleObject_.SetClientSite(container->pClientSite));
    if (container->pAdviseSink)
        RETURN_IF_FAILED(view_.SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink));
    if (container->pUnkEventSink) {
        // A sink that cannot take the events does not stop the activation; the cookie stays 0.
        events_.Advise(container->pUnkEventSink, &control->dwEventCookie);
    }
    control->dwMiscStatus = kInstallerMiscStatus;
    RETURN_IF_FAILED(view_.GetViewStatus(&control->dwViewStatus));
    return S_OK;
}

HRESULT CInstallerControl::SetContentExtent(LPSIZEL size) {
    if (!size) return E_POINTER;
    return oleObject_.ChangeExtent(*size);
}

HRESULT CInstallerControl::GetContentExtent(LPSIZEL size) {
    if (!size) return E_POINTER;
    *size = embedding_.extent;
    return S_OK;
}
