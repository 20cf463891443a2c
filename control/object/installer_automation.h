// The scripting part of the Installer: IInstaller and the IDispatch half of the dual
// interface, which runs through the type library embedded in the module.
#pragma once

#include "base/com_ptr.h"
#include "control/object/com_part.h"
#include "control/object/installer_ids.h"

class InstallerScripting;
struct CEmbeddingState;
namespace kv {
class SiteGuard;
}

class CInstallerAutomation final : public CPart<IInstaller> {
public:
    // `siteGuard` refuses script on a page outside the allowed sites; `embedding` gives the
    // client site it judges again at Init.
    CInstallerAutomation(IUnknown* controlling, InstallerScripting& scripting, kv::SiteGuard& siteGuard,
                         const CEmbeddingState& embedding) noexcept
        : CPart(controlling), scripting_(scripting), siteGuard_(siteGuard), embedding_(embedding) {}

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override;

    // IInstaller
    HRESULT STDMETHODCALLTYPE get_BasePath(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE put_BasePath(BSTR value) override;
    HRESULT STDMETHODCALLTYPE get_InfoFileName(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE put_InfoFileName(BSTR value) override;
    HRESULT STDMETHODCALLTYPE Init(BSTR url, BSTR fileName) override;

private:
    HRESULT EnsureTypeInfo() noexcept;

    InstallerScripting& scripting_;
    kv::SiteGuard& siteGuard_;
    const CEmbeddingState& embedding_;
    kv::ComPtr<ITypeInfo> typeInfo_;
};
