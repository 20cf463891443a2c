// CPart: the base of every interface group of a COM object made of several parts. It answers
// IUnknown for all its interfaces by handing the call to the object's controlling unknown
// (the outer object when aggregated), so a part never counts references of its own.
#pragma once

#include <windows.h>
#include <unknwn.h>

template <typename... Interfaces>
class CPart : public Interfaces... {
public:
    explicit CPart(IUnknown* controlling) noexcept : controlling_(controlling) {}
    CPart(const CPart&) = delete;
    CPart& operator=(const CPart&) = delete;
    virtual ~CPart() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        return controlling_->QueryInterface(riid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return controlling_->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return controlling_->Release(); }

protected:
    IUnknown* Controlling() const noexcept { return controlling_; }

private:
    IUnknown* controlling_;
};

// Clears a COM out-parameter first, as every entry point does before it can fail.
template <typename T>
inline HRESULT ClearOut(T** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    return S_OK;
}
