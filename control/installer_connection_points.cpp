#include "control/installer_connection_points.h"

#include "base/result.h"
#include "control/installer.h"
#include "control/installer_ids.h"

#include <olectl.h>

HRESULT CInstallerConnectionPoints::EnumConnectionPoints(IEnumConnectionPoints** points) {
    RETURN_IF_FAILED(ClearOut(points));
    return E_NOTIMPL;
}

HRESULT CInstallerConnectionPoints::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
    RETURN_IF_FAILED(ClearOut(point));
    if (riid != DIID__IInstallerEvents) return CONNECT_E_NOCONNECTION;
    *point = &owner_.eventSource;
    (*point)->AddRef();
    return S_OK;
}
