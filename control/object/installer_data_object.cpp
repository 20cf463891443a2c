#include "control/object/installer_data_object.h"

#include "base/result.h"
#include "control/object/embedding_state.h"

HRESULT CInstallerDataObject::GetData(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }

HRESULT CInstallerDataObject::GetDataHere(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }

HRESULT CInstallerDataObject::QueryGetData(FORMATETC*) { return E_NOTIMPL; }

HRESULT CInstallerDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) { return E_NOTIMPL; }

HRESULT CInstallerDataObject::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }

HRESULT CInstallerDataObject::EnumFormatEtc(DWORD, IEnumFORMATETC** formats) {
    RETURN_IF_FAILED(ClearOut(formats));
    return E_NOTIMPL;
}

HRESULT CInstallerDataObject::DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink,
                                      DWORD* connection) {
    if (!connection) return E_POINTER;
    *connection = 0;
    CEmbeddingState& e = embedding_;
    if (!e.dataAdviseHolder) RETURN_IF_FAILED(::CreateDataAdviseHolder(e.dataAdviseHolder.put()));
    return e.dataAdviseHolder->Advise(this, format, flags, sink, connection);
}

HRESULT CInstallerDataObject::DUnadvise(DWORD connection) {
    CEmbeddingState& e = embedding_;
    if (!e.dataAdviseHolder) return OLE_E_NOCONNECTION;
    return e.dataAdviseHolder->Unadvise(connection);
}

HRESULT CInstallerDataObject::EnumDAdvise(IEnumSTATDATA** advises) {
    RETURN_IF_FAILED(ClearOut(advises));
    CEmbeddingState& e = embedding_;
    if (!e.dataAdviseHolder) return E_FAIL;
    return e.dataAdviseHolder->EnumAdvise(advises);
}
