#include "control/object/installer_class_info.h"

#include "base/result.h"
#include "control/object/installer_ids.h"
#include "control/object/type_library.h"

HRESULT CInstallerClassInfo::GetClassInfo(ITypeInfo** info) {
    RETURN_IF_FAILED(ClearOut(info));
    return LoadModuleTypeInfo(CLSID_Installer, info);
}

HRESULT CInstallerClassInfo::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
        *guid = GUID_NULL;
        return E_INVALIDARG;
    }
    *guid = DIID__IInstallerEvents;
    return S_OK;
}

HRESULT CInstallerClassInfo::InterfaceSupportsErrorInfo(REFIID riid) {
    return riid == IID_IInstaller ? S_OK : S_FALSE;
}

HRESULT CInstallerClassInfo::GetPages(CAUUID* pages) {
    if (!pages) return E_POINTER;
    pages->cElems = 0;
    pages->pElems = nullptr;
    return S_OK;
}
