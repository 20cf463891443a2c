#include "control/module/class_factory.h"

#include "base/result.h"
#include "control/object/server_state.h"

#include <memory>

namespace kv {
namespace {

class CClassFactory final : public IClassFactory {
public:
    explicit CClassFactory(InstanceCreator creator) : creator_(creator) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) return E_NOINTERFACE;
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    // The module's class table keeps the first reference; every reference a client holds
    // beyond it keeps the module loaded, so DllCanUnloadNow says no while one is out.
    STDMETHODIMP_(ULONG) AddRef() override {
        const LONG count = ::InterlockedIncrement(&references_);
        if (count == 2) ModuleLock();
        return static_cast<ULONG>(count);
    }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 1) ModuleUnlock();
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override try {
        if (!object) return E_POINTER;
        *object = nullptr;
        // An aggregated object hands out its own IUnknown only once, to its outer object.
        if (outer && !IsEqualIID(riid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
        return creator_(outer, riid, object);
    }
    CATCH_RETURN()

    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) {
            ModuleLock();
        } else {
            ModuleUnlock();
        }
        return S_OK;
    }

private:
    InstanceCreator creator_;
    LONG references_ = 1;
};

}  // namespace

HRESULT CreateClassFactory(InstanceCreator creator, REFIID riid, void** object) try {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!creator) return E_INVALIDARG;
    auto factory = std::make_unique<CClassFactory>(creator);
    // The new factory starts with one reference, which the query below doubles and the
    // Release gives back; a failed query thus destroys it.
    IClassFactory* raw = factory.release();
    const HRESULT hr = raw->QueryInterface(riid, object);
    raw->Release();
    return hr;
}
CATCH_RETURN()

}  // namespace kv
