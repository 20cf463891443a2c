#include "control/module/installer_factory.h"

#include "control/object/installer.h"

HRESULT CreateInstallerInstance(IUnknown* outer, REFIID riid, void** object) {
    return CInstaller::Create(outer, riid, object);
}
