#include "control/object/installer_connection_points.h"

#include "base/result.h"
#include "control/object/enum_snapshot.h"
#include "control/object/installer_events.h"
#include "control/object/installer_ids.h"

#include <olectl.h>

HRESULT CInstallerConnectionPoints::EnumConnectionPoints(IEnumConnectionPoints** points) try {
    RETURN_IF_FAILED(ClearOut(points));
    using Enumerator = kv::CEnumSnapshot<IEnumConnectionPoints, IConnectionPoint*>;
    std::vector<IConnectionPoint*> list{&events_};
    return Enumerator::Create(std::make_shared<Enumerator::Items>(std::move(list)), 0, points);
} CATCH_RETURN()

HRESULT CInstallerConnectionPoints::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
    RETURN_IF_FAILED(ClearOut(point));
    if (riid != DIID__IInstallerEvents) return CONNECT_E_NOCONNECTION;
    *point = &events_;
    (*point)->AddRef();
    return S_OK;
}
