#include "control/object/installer_automation.h"

#include "base/result.h"
#include "control/object/embedding_state.h"
#include "control/object/installer_scripting.h"
#include "control/object/site_guard.h"
#include "control/object/type_library.h"

HRESULT CInstallerAutomation::EnsureTypeInfo() noexcept {
    if (typeInfo_) return S_OK;
    return LoadModuleTypeInfo(IID_IInstaller, typeInfo_.put());
}

HRESULT CInstallerAutomation::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT CInstallerAutomation::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    RETURN_IF_FAILED(ClearOut(info));
    if (index != 0) return DISP_E_BADINDEX;
    RETURN_IF_FAILED(EnsureTypeInfo());
    return typeInfo_.copy_to(info);
}

HRESULT CInstallerAutomation::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    RETURN_IF_FAILED(EnsureTypeInfo());
    return ::DispGetIDsOfNames(typeInfo_.get(), names, count, ids);
}

HRESULT CInstallerAutomation::Invoke(DISPID id, REFIID riid, LCID, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    RETURN_IF_FAILED(EnsureTypeInfo());
    // The type information calls back through this vtable, so the IErrorInfo that a member
    // sets reaches the script engine, which reads it because ISupportErrorInfo says so.
    return typeInfo_->Invoke(static_cast<IInstaller*>(this), id, flags, params, result,
                             exception, argError);
}

HRESULT CInstallerAutomation::get_BasePath(BSTR* value) {
    RETURN_IF_FAILED(ClearOut(value));
    RETURN_IF_FAILED(siteGuard_.RefuseIfNotAllowed());  // site lock
    return scripting_.GetBasePath(value);
}

HRESULT CInstallerAutomation::put_BasePath(BSTR value) {
    RETURN_IF_FAILED(siteGuard_.RefuseIfNotAllowed());  // site lock
    return scripting_.PutBasePath(value);
}

HRESULT CInstallerAutomation::get_InfoFileName(BSTR* value) {
    RETURN_IF_FAILED(ClearOut(value));
    RETURN_IF_FAILED(siteGuard_.RefuseIfNotAllowed());  // site lock
    return scripting_.GetInfoFileName(value);
}

HRESULT CInstallerAutomation::put_InfoFileName(BSTR value) {
    RETURN_IF_FAILED(siteGuard_.RefuseIfNotAllowed());  // site lock
    return scripting_.PutInfoFileName(value);
}

HRESULT CInstallerAutomation::Init(BSTR url, BSTR fileName) {
    // Site lock: the page may have moved since the site was set.
    siteGuard_.Judge(embedding_.clientSite.get());
    RETURN_IF_FAILED(siteGuard_.RefuseIfNotAllowed());
    return scripting_.Init(url, fileName);
}
