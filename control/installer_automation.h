// The scripting part of the Installer: IInstaller and the IDispatch half of the dual
// interface, which runs through the type library embedded in the module.
#pragma once

#include "base/com_ptr.h"
#include "control/com_part.h"
#include "control/installer_ids.h"

class CInstaller;

class CInstallerAutomation final : public CPart<IInstaller> {
public:
    CInstallerAutomation(IUnknown* controlling, CInstaller& owner) noexcept
        : CPart(controlling), owner_(owner) {}

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

    CInstaller& owner_;
    kv::ComPtr<ITypeInfo> typeInfo_;
};
