#include "control/object/installer_events.h"

#include "base/result.h"
#include "control/object/com_part.h"
#include "control/object/enum_snapshot.h"
#include "control/object/installer_ids.h"

#include <olectl.h>

HRESULT CProxy_IInstallerEvents::QueryInterface(REFIID riid, void** object) {
    RETURN_IF_FAILED(ClearOut(object));
    if (riid != IID_IUnknown && riid != IID_IConnectionPoint) return E_NOINTERFACE;
    *object = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

HRESULT CProxy_IInstallerEvents::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = DIID__IInstallerEvents;
    return S_OK;
}

HRESULT CProxy_IInstallerEvents::GetConnectionPointContainer(IConnectionPointContainer** cpc) {
    RETURN_IF_FAILED(ClearOut(cpc));
    *cpc = container_;
    container_->AddRef();
    return S_OK;
}

HRESULT CProxy_IInstallerEvents::Advise(IUnknown* sink, DWORD* cookie) try {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    kv::ComPtr<IDispatch> events;
    if (FAILED(sink->QueryInterface(DIID__IInstallerEvents, events.put_void())) || !events)
        return CONNECT_E_CANNOTCONNECT;
    size_t slot = 0;
    while (slot < slots_.size() && slots_[slot]) ++slot;
    if (slot == slots_.size()) slots_.emplace_back();
    slots_[slot] = std::move(events);
    *cookie = static_cast<DWORD>(slot + 1);
    return S_OK;
} CATCH_RETURN()

HRESULT CProxy_IInstallerEvents::Unadvise(DWORD cookie) {
    if (cookie == 0 || cookie > slots_.size() || !slots_[cookie - 1]) return CONNECT_E_NOCONNECTION;
    // Moved out first: the sink's last Release may call back into this list.
    kv::ComPtr<IDispatch> released = std::move(slots_[cookie - 1]);
    slots_[cookie - 1].reset();
    return S_OK;
}

HRESULT CProxy_IInstallerEvents::EnumConnections(IEnumConnections** connections) try {
    RETURN_IF_FAILED(ClearOut(connections));
    std::vector<CONNECTDATA> connected;
    for (size_t slot = 0; slot < slots_.size(); ++slot) {
        if (slots_[slot]) connected.push_back({slots_[slot].get(), static_cast<DWORD>(slot + 1)});
    }
    using Enumerator = kv::CEnumSnapshot<IEnumConnections, CONNECTDATA>;
    return Enumerator::Create(std::make_shared<Enumerator::Items>(std::move(connected)), 0,
                              connections);
} CATCH_RETURN()

HRESULT CProxy_IInstallerEvents::Fire(DISPID id) {
    // A handler may drop the page's last reference to the control (after OnClose, say).
    const kv::ComPtr<IUnknown> keepAlive(controlling_);
    HRESULT result = S_OK;
    // The count is taken once: sinks advised by a handler wait for the next event. A slot is
    // read afresh each time because a handler may unadvise.
    const size_t count = slots_.size();
    for (size_t i = 0; i < count && i < slots_.size(); ++i) {
        kv::ComPtr<IDispatch> sink = slots_[i];
        if (!sink) continue;
        DISPPARAMS none{};
        VARIANT ignored;
        ::VariantInit(&ignored);
        result = sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, &ignored,
                              nullptr, nullptr);
        ::VariantClear(&ignored);
    }
    return result;
}
