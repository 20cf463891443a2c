#include "control/object/installer_ole_object.h"

#include "base/result.h"
#include "control/object/embedding_state.h"
#include "control/object/installer_ids.h"
#include "control/object/installer_inplace.h"
#include "control/object/installer_view.h"
#include "control/object/site_guard.h"

HRESULT CInstallerOleObject::ChangeExtent(const SIZEL& extent) {
    CEmbeddingState& e = embedding_;
    if (extent.cx == e.extent.cx && extent.cy == e.extent.cy) return S_OK;
    e.extent = extent;
    e.dirty = true;
    inPlace_.RequestSize(extent);
    view_.ViewChanged();
    return S_OK;
}

HRESULT CInstallerOleObject::SetClientSite(IOleClientSite* site) {
    // Ambient properties are not read: the skin decides every colour and font.
    embedding_.clientSite = kv::ComPtr<IOleClientSite>(site);
    siteGuard_.Judge(site);  // site lock: the page's address comes with the site
    return S_OK;
}

HRESULT CInstallerOleObject::GetClientSite(IOleClientSite** site) {
    RETURN_IF_FAILED(ClearOut(site));
    return embedding_.clientSite.copy_to(site);
}

HRESULT CInstallerOleObject::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

HRESULT CInstallerOleObject::Close(DWORD saveOption) {
    CEmbeddingState& e = embedding_;
    inPlace_.InPlaceDeactivate();
    const bool save = saveOption == OLECLOSE_SAVEIFDIRTY || saveOption == OLECLOSE_PROMPTSAVE;
    if (save && e.dirty && e.clientSite) {
        e.clientSite->SaveObject();
        if (e.oleAdviseHolder) e.oleAdviseHolder->SendOnSave();
    }
    if (e.oleAdviseHolder) e.oleAdviseHolder->SendOnClose();
    return S_OK;
}

HRESULT CInstallerOleObject::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

HRESULT CInstallerOleObject::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    RETURN_IF_FAILED(ClearOut(moniker));
    return E_NOTIMPL;
}

HRESULT CInstallerOleObject::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

HRESULT CInstallerOleObject::GetClipboardData(DWORD, IDataObject** data) {
    RETURN_IF_FAILED(ClearOut(data));
    return E_NOTIMPL;
}

HRESULT CInstallerOleObject::DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) {
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
        return inPlace_.Activate(verb);
    case OLEIVERB_HIDE:
        return inPlace_.Hide();
    default:
        // No property pages, no open editing, no verbs of its own.
        return verb > 0 ? OLEOBJ_S_INVALIDVERB : E_NOTIMPL;
    }
}

HRESULT CInstallerOleObject::EnumVerbs(IEnumOLEVERB** verbs) {
    RETURN_IF_FAILED(ClearOut(verbs));
    return ::OleRegEnumVerbs(CLSID_Installer, verbs);
}

HRESULT CInstallerOleObject::Update() { return S_OK; }

HRESULT CInstallerOleObject::IsUpToDate() { return S_OK; }

HRESULT CInstallerOleObject::GetUserClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = CLSID_Installer;
    return S_OK;
}

HRESULT CInstallerOleObject::GetUserType(DWORD form, LPOLESTR* type) {
    RETURN_IF_FAILED(ClearOut(type));
    return ::OleRegGetUserType(CLSID_Installer, form, type);
}

HRESULT CInstallerOleObject::SetExtent(DWORD aspect, SIZEL* size) {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    return ChangeExtent(*size);
}

HRESULT CInstallerOleObject::GetExtent(DWORD aspect, SIZEL* size) {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    *size = embedding_.extent;
    return S_OK;
}

HRESULT CInstallerOleObject::Advise(IAdviseSink* sink, DWORD* connection) {
    if (!connection) return E_POINTER;
    *connection = 0;
    CEmbeddingState& e = embedding_;
    if (!e.oleAdviseHolder) RETURN_IF_FAILED(::CreateOleAdviseHolder(e.oleAdviseHolder.put()));
    return e.oleAdviseHolder->Advise(sink, connection);
}

HRESULT CInstallerOleObject::Unadvise(DWORD connection) {
    CEmbeddingState& e = embedding_;
    if (!e.oleAdviseHolder) return OLE_E_NOCONNECTION;
    return e.oleAdviseHolder->Unadvise(connection);
}

HRESULT CInstallerOleObject::EnumAdvise(IEnumSTATDATA** advises) {
    RETURN_IF_FAILED(ClearOut(advises));
    CEmbeddingState& e = embedding_;
    if (!e.oleAdviseHolder) return E_FAIL;
    return e.oleAdviseHolder->EnumAdvise(advises);
}

HRESULT CInstallerOleObject::GetMiscStatus(DWORD, DWORD* status) {
    if (!status) return E_POINTER;
    *status = kInstallerMiscStatus;
    return S_OK;
}

HRESULT CInstallerOleObject::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }
