#include "control/object/installer_persist.h"

#include "base/com_ptr.h"
#include "base/result.h"
#include "control/object/embedding_state.h"
#include "control/object/installer_ids.h"

namespace {

constexpr ULONG kExtentBytes = 8;
constexpr wchar_t kContentsStream[] = L"Contents";

void PutULong(BYTE* out, ULONG value) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<BYTE>(value >> (8 * i));
}

ULONG GetULong(const BYTE* in) {
    ULONG value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<ULONG>(in[i]) << (8 * i);
    return value;
}

HRESULT WriteExtent(IStream* stream, const SIZEL& extent) {
    BYTE bytes[kExtentBytes];
    PutULong(bytes, static_cast<ULONG>(extent.cx));
    PutULong(bytes + 4, static_cast<ULONG>(extent.cy));
    ULONG written = 0;
    RETURN_IF_FAILED(stream->Write(bytes, kExtentBytes, &written));
    return written == kExtentBytes ? S_OK : STG_E_WRITEFAULT;
}

HRESULT ReadExtent(IStream* stream, SIZEL& extent) {
    BYTE bytes[kExtentBytes];
    ULONG read = 0;
    RETURN_IF_FAILED(stream->Read(bytes, kExtentBytes, &read));
    if (read != kExtentBytes) return STG_E_READFAULT;
    extent.cx = static_cast<LONG>(GetULong(bytes));
    extent.cy = static_cast<LONG>(GetULong(bytes + 4));
    return S_OK;
}

}  // namespace

HRESULT CInstallerPersist::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = CLSID_Installer;
    return S_OK;
}

HRESULT CInstallerPersist::IsDirty() { return embedding_.dirty ? S_OK : S_FALSE; }

HRESULT CInstallerPersist::Load(LPSTREAM stream) {
    if (!stream) return E_POINTER;
    SIZEL extent{};
    RETURN_IF_FAILED(ReadExtent(stream, extent));
    embedding_.extent = extent;
    embedding_.dirty = false;
    return S_OK;
}

HRESULT CInstallerPersist::Save(LPSTREAM stream, BOOL clearDirty) {
    if (!stream) return E_POINTER;
    RETURN_IF_FAILED(WriteExtent(stream, embedding_.extent));
    if (clearDirty) embedding_.dirty = false;
    return S_OK;
}

HRESULT CInstallerPersist::GetSizeMax(ULARGE_INTEGER* size) {
    if (!size) return E_POINTER;
    size->QuadPart = kExtentBytes;
    return S_OK;
}

HRESULT CInstallerPersist::InitNew() { return S_OK; }

HRESULT CInstallerPersist::InitNew(IStorage* storage) {
    return storage ? S_OK : E_POINTER;
}

HRESULT CInstallerPersist::Load(IStorage* storage) {
    if (!storage) return E_POINTER;
    kv::ComPtr<IStream> stream;
    RETURN_IF_FAILED(storage->OpenStream(kContentsStream, nullptr,
                                         STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put()));
    return Load(stream.get());
}

HRESULT CInstallerPersist::Save(IStorage* storage, BOOL) {
    if (!storage) return E_POINTER;
    kv::ComPtr<IStream> stream;
    RETURN_IF_FAILED(storage->CreateStream(kContentsStream,
                                           STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                           stream.put()));
    return Save(stream.get(), TRUE);
}

HRESULT CInstallerPersist::SaveCompleted(IStorage*) { return S_OK; }

HRESULT CInstallerPersist::HandsOffStorage() { return S_OK; }
