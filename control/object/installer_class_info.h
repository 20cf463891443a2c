// The describing part of the Installer: IProvideClassInfo2 (the class's type information and
// the identifier of its event interface), ISupportErrorInfo and ISpecifyPropertyPages (none).
#pragma once

#include "base/com_ptr.h"
#include "control/object/com_part.h"

#include <ocidl.h>

class CInstallerClassInfo final
    : public CPart<IProvideClassInfo2, ISupportErrorInfo, ISpecifyPropertyPages> {
public:
    explicit CInstallerClassInfo(IUnknown* controlling) noexcept : CPart(controlling) {}

    // IProvideClassInfo
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
    // IProvideClassInfo2
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override;
    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override;
    // ISpecifyPropertyPages
    HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override;
};
