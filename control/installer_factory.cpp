#include "control/installer_factory.h"

#include "control/installer.h"

HRESULT CreateInstallerInstance(IUnknown* outer, REFIID riid, void** object) {
    return CInstaller::Create(outer, riid, object);
}
