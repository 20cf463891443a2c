// CEnumSnapshot: a COM enumerator (IEnumConnections, IEnumConnectionPoints) over a copy of a
// list taken when it was made. The copy holds a reference to every item and hands out a new
// one with each item that Next returns; clones share the copy.
#pragma once

#include "control/object/server_state.h"

#include <windows.h>
#include <ocidl.h>

#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace kv {

inline void AddRefItem(IConnectionPoint* point) { point->AddRef(); }
inline void ReleaseItem(IConnectionPoint* point) { point->Release(); }
inline void AddRefItem(const CONNECTDATA& data) { data.pUnk->AddRef(); }
inline void ReleaseItem(const CONNECTDATA& data) { data.pUnk->Release(); }

template <typename Item>
class SnapshotItems {
public:
    // Takes a reference to each item.
    explicit SnapshotItems(std::vector<Item> items) : items_(std::move(items)) {
        for (const Item& item : items_) AddRefItem(item);
    }
    ~SnapshotItems() {
        for (const Item& item : items_) ReleaseItem(item);
    }
    SnapshotItems(const SnapshotItems&) = delete;
    SnapshotItems& operator=(const SnapshotItems&) = delete;
    const std::vector<Item>& items() const { return items_; }

private:
    std::vector<Item> items_;
};

template <typename Enum, typename Item>
class CEnumSnapshot final : public Enum {
public:
    using Items = SnapshotItems<Item>;

    static HRESULT Create(std::shared_ptr<const Items> items, size_t position, Enum** out) {
        if (!out) return E_POINTER;
        *out = new (std::nothrow) CEnumSnapshot(std::move(items), position);
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (riid != IID_IUnknown && riid != __uuidof(Enum)) return E_NOINTERFACE;
        *object = static_cast<Enum*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(::InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) delete this;  // the reference count owns the enumerator
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG count, Item* out, ULONG* fetched) override {
        if (!out || (count > 1 && !fetched)) return E_POINTER;
        const std::vector<Item>& items = items_->items();
        ULONG given = 0;
        for (; given < count && position_ < items.size(); ++given, ++position_) {
            out[given] = items[position_];
            AddRefItem(out[given]);
        }
        if (fetched) *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const size_t left = items_->items().size() - position_;
        position_ += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(Enum** out) override { return Create(items_, position_, out); }

private:
    CEnumSnapshot(std::shared_ptr<const Items> items, size_t position)
        : items_(std::move(items)), position_(position) {
        ModuleLock();
    }
    ~CEnumSnapshot() { ModuleUnlock(); }

    std::shared_ptr<const Items> items_;
    size_t position_;
    LONG references_ = 1;
};

}  // namespace kv
