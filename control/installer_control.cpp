#include "control/installer_control.h"

#include "base/result.h"
#include "control/installer.h"

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

    RETURN_IF_FAILED(owner_.oleObject.SetClientSite(container->pClientSite));
    if (container->pAdviseSink)
        RETURN_IF_FAILED(owner_.view.SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink));
    if (container->pUnkEventSink) {
        // A sink that cannot take the events does not stop the activation; the cookie stays 0.
        owner_.eventSource.Advise(container->pUnkEventSink, &control->dwEventCookie);
    }
    control->dwMiscStatus = kInstallerMiscStatus;
    RETURN_IF_FAILED(owner_.view.GetViewStatus(&control->dwViewStatus));
    return S_OK;
}

HRESULT CInstallerControl::SetContentExtent(LPSIZEL size) {
    if (!size) return E_POINTER;
    return owner_.oleObject.ChangeExtent(*size);
}

HRESULT CInstallerControl::GetContentExtent(LPSIZEL size) {
    if (!size) return E_POINTER;
    *size = owner_.embedding.extent;
    return S_OK;
}
