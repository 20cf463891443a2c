// The persistence part of the Installer: IPersistStreamInit and IPersistStorage (with
// IPersist). Only the extent is persisted: `_cx` then `_cy`, each an unsigned 32-bit value,
// written as two little-endian ULONGs (8 bytes). In a storage they form the stream
// "Contents".
#pragma once

#include "control/object/com_part.h"

#include <ocidl.h>
#include <objidl.h>

struct CEmbeddingState;

class CInstallerPersist final : public CPart<IPersistStreamInit, IPersistStorage> {
public:
    CInstallerPersist(IUnknown* controlling, CEmbeddingState& embedding) noexcept
        : CPart(controlling), embedding_(embedding) {}

    // IPersist
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;

    // IPersistStreamInit
    HRESULT STDMETHODCALLTYPE IsDirty() override;
    HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override;
    HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL clearDirty) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
    HRESULT STDMETHODCALLTYPE InitNew() override;

    // IPersistStorage
    HRESULT STDMETHODCALLTYPE InitNew(IStorage* storage) override;
    HRESULT STDMETHODCALLTYPE Load(IStorage* storage) override;
    HRESULT STDMETHODCALLTYPE Save(IStorage* storage, BOOL sameAsLoad) override;
    HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage* storage) override;
    HRESULT STDMETHODCALLTYPE HandsOffStorage() override;

private:
    CEmbeddingState& embedding_;
};
