// The members of IInstaller as the object implements them, for the automation part that
// carries them to script.
#pragma once

#include <windows.h>
#include <oleauto.h>

class InstallerScripting {
public:
    virtual HRESULT GetBasePath(BSTR* value) noexcept = 0;
    virtual HRESULT PutBasePath(BSTR value) noexcept = 0;
    virtual HRESULT GetInfoFileName(BSTR* value) noexcept = 0;
    virtual HRESULT PutInfoFileName(BSTR value) noexcept = 0;
    virtual HRESULT Init(BSTR url, BSTR fileName) noexcept = 0;

protected:
    ~InstallerScripting() = default;
};
