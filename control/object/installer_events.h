// CProxy_IInstallerEvents: the control's one connection point, for _IInstallerEvents. It keeps
// the connected sinks in numbered slots (the cookie is the 1-based slot) and fires the events.
#pragma once

#include "base/com_ptr.h"

#include <windows.h>
#include <ocidl.h>

#include <vector>

class CProxy_IInstallerEvents final : public IConnectionPoint {
public:
    // `controlling` keeps the control alive while the connection point is held; `container`
    // is what GetConnectionPointContainer hands out.
    CProxy_IInstallerEvents(IUnknown* controlling, IConnectionPointContainer* container) noexcept
        : controlling_(controlling), container_(container) {}
    CProxy_IInstallerEvents(const CProxy_IInstallerEvents&) = delete;
    CProxy_IInstallerEvents& operator=(const CProxy_IInstallerEvents&) = delete;
    virtual ~CProxy_IInstallerEvents() = default;

    // IUnknown: its own identity, the control's reference count.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return controlling_->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return controlling_->Release(); }

    // IConnectionPoint
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** cpc) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

    HRESULT FireOnCreate() { return Fire(1); }
    HRESULT FireOnClose() { return Fire(2); }

    // Drops every sink; the control does it when it goes away.
    void DisconnectAll() noexcept { slots_.clear(); }

private:
    HRESULT Fire(DISPID id);

    IUnknown* controlling_;
    IConnectionPointContainer* container_;
    std::vector<kv::ComPtr<IDispatch>> slots_;  // empty slots are free for the next Advise
};
