// A small CRTP base for the host's own COM objects: reference counting and an interface
// table built from the listed interfaces, so each object writes only its own methods.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <utility>

#include "base/com_ptr.h"

namespace kv::host {

// Derived may add `void* QueryBase(REFIID)` to answer for base interfaces of the listed
// ones (IOleWindow below IOleInPlaceSite, IDispatch below a dual interface, ...).
template <typename Derived, typename... Interfaces>
class ComObject : public Interfaces... {
public:
    // The one place where host objects are allocated; Release frees them.
    template <typename... Args>
    static ComPtr<Derived> Create(Args&&... args) {
        return ComPtr<Derived>::attach(new Derived(std::forward<Args>(args)...));
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        void* found = nullptr;
        ((found = (!found && riid == __uuidof(Interfaces)) ? static_cast<Interfaces*>(this) : found), ...);
        if (!found) found = static_cast<Derived*>(this)->QueryBase(riid);
        if (!found && riid == IID_IUnknown) found = static_cast<IUnknown*>(static_cast<First*>(this));
        if (!found) return E_NOINTERFACE;
        static_cast<IUnknown*>(static_cast<First*>(this))->AddRef();
        *object = found;
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = ::InterlockedDecrement(&refs_);
        if (left == 0) delete static_cast<Derived*>(this);
        return static_cast<ULONG>(left);
    }

    void* QueryBase(REFIID) { return nullptr; }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

private:
    template <typename T, typename...>
    struct Head { using type = T; };
    using First = typename Head<Interfaces...>::type;

    LONG refs_ = 1;
};

}  // namespace kv::host
