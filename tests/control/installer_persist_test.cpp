// The extent: its default from the dialog template, and its persistence as _cx and _cy.
#include "installer_test_support.h"

#include "control/resource.h"

namespace {

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

SIZEL ScreenPixelsToHimetric(SIZE pixels) {
    HDC screen = ::GetDC(nullptr);
    const SIZEL himetric{::MulDiv(pixels.cx, 2540, ::GetDeviceCaps(screen, LOGPIXELSX)),
                         ::MulDiv(pixels.cy, 2540, ::GetDeviceCaps(screen, LOGPIXELSY))};
    ::ReleaseDC(nullptr, screen);
    return himetric;
}

std::vector<BYTE> StreamBytes(IStream* stream) {
    HGLOBAL memory = nullptr;
    EXPECT_EQ(S_OK, ::GetHGlobalFromStream(stream, &memory));
    STATSTG stat{};
    EXPECT_EQ(S_OK, stream->Stat(&stat, STATFLAG_NONAME));
    const BYTE* bytes = static_cast<const BYTE*>(::GlobalLock(memory));
    std::vector<BYTE> copy(bytes, bytes + stat.cbSize.QuadPart);
    ::GlobalUnlock(memory);
    return copy;
}

void Rewind(IStream* stream) {
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
}

}  // namespace

TEST(InstallerExtent, DefaultsToTheDialogTemplateAsTheDialogManagerMapsIt) {
    // A real dialog from the same template, mapped by the system.
    HMODULE module = InstallerModule::Get().handle();
    FakeSite parent;  // the template makes a child window
    HWND dialog = ::CreateDialogParamW(module, MAKEINTRESOURCEW(IDD_INSTALLER), parent.window(),
                                       QuietDialogProc, 0);
    ASSERT_NE(nullptr, dialog);
    RECT units{0, 0, 252, 191};
    ASSERT_TRUE(::MapDialogRect(dialog, &units));
    ::DestroyWindow(dialog);
    const SIZEL expected = ScreenPixelsToHimetric({units.right, units.bottom});

    auto object = NewInstaller<IOleObject>();
    SIZEL extent{};
    ASSERT_EQ(S_OK, object->GetExtent(DVASPECT_CONTENT, &extent));
    EXPECT_EQ(expected.cx, extent.cx);
    EXPECT_EQ(expected.cy, extent.cy);
    EXPECT_GT(extent.cx, 0);
    EXPECT_EQ(DV_E_DVASPECT, object->GetExtent(DVASPECT_ICON, &extent));
    EXPECT_EQ(0u, ReleaseLast(object));
}

TEST(InstallerPersistStream, SavesCxThenCyAndLoadsThemBack) {
    auto object = NewInstaller<IOleObject>();
    kv::ComPtr<IPersistStreamInit> persist;
    ASSERT_EQ(S_OK, object.query(persist));
    EXPECT_EQ(S_OK, persist->InitNew());
    EXPECT_EQ(S_FALSE, persist->IsDirty());
    SIZEL extent{1234, 70000};
    ASSERT_EQ(S_OK, object->SetExtent(DVASPECT_CONTENT, &extent));
    EXPECT_EQ(S_OK, persist->IsDirty());
    ULARGE_INTEGER size{};
    EXPECT_EQ(S_OK, persist->GetSizeMax(&size));
    EXPECT_EQ(8u, size.QuadPart);

    kv::ComPtr<IStream> stream;
    ASSERT_EQ(S_OK, ::CreateStreamOnHGlobal(nullptr, TRUE, stream.put()));
    ASSERT_EQ(S_OK, persist->Save(stream.get(), TRUE));
    EXPECT_EQ(S_FALSE, persist->IsDirty());
    const std::vector<BYTE> expected{0xD2, 0x04, 0x00, 0x00, 0x70, 0x11, 0x01, 0x00};
    EXPECT_EQ(expected, StreamBytes(stream.get()));
    persist.reset();
    EXPECT_EQ(0u, ReleaseLast(object));

    auto loaded = NewInstaller<IPersistStreamInit>();
    Rewind(stream.get());
    ASSERT_EQ(S_OK, loaded->Load(stream.get()));
    EXPECT_EQ(S_FALSE, loaded->IsDirty());
    kv::ComPtr<IOleObject> ole;
    ASSERT_EQ(S_OK, loaded.query(ole));
    SIZEL read{};
    ASSERT_EQ(S_OK, ole->GetExtent(DVASPECT_CONTENT, &read));
    EXPECT_EQ(1234, read.cx);
    EXPECT_EQ(70000, read.cy);
    ole.reset();
    EXPECT_EQ(0u, ReleaseLast(loaded));
}

TEST(InstallerPersistStream, ShortStreamFailsAndKeepsTheExtent) {
    auto persist = NewInstaller<IPersistStreamInit>();
    kv::ComPtr<IOleObject> ole;
    ASSERT_EQ(S_OK, persist.query(ole));
    SIZEL before{};
    ole->GetExtent(DVASPECT_CONTENT, &before);

    kv::ComPtr<IStream> stream;
    ASSERT_EQ(S_OK, ::CreateStreamOnHGlobal(nullptr, TRUE, stream.put()));
    const BYTE half[4] = {1, 2, 3, 4};
    ASSERT_EQ(S_OK, stream->Write(half, sizeof half, nullptr));
    Rewind(stream.get());
    EXPECT_TRUE(FAILED(persist->Load(stream.get())));
    SIZEL after{};
    ole->GetExtent(DVASPECT_CONTENT, &after);
    EXPECT_EQ(before.cx, after.cx);
    EXPECT_EQ(before.cy, after.cy);
    EXPECT_EQ(E_POINTER, persist->Load(static_cast<IStream*>(nullptr)));
    ole.reset();
    EXPECT_EQ(0u, ReleaseLast(persist));
}

TEST(InstallerPersistStorage, RoundTripsTheExtentThroughACompoundFile) {
    kv::ComPtr<ILockBytes> bytes;
    ASSERT_EQ(S_OK, ::CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.put()));
    kv::ComPtr<IStorage> storage;
    ASSERT_EQ(S_OK, ::StgCreateDocfileOnILockBytes(
                        bytes.get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                        storage.put()));

    auto saved = NewInstaller<IPersistStorage>();
    ASSERT_EQ(S_OK, saved->InitNew(storage.get()));
    kv::ComPtr<IQuickActivate> quick;
    ASSERT_EQ(S_OK, saved.query(quick));
    SIZEL extent{4321, 8765};
    ASSERT_EQ(S_OK, quick->SetContentExtent(&extent));
    ASSERT_EQ(S_OK, saved->Save(storage.get(), TRUE));
    EXPECT_EQ(S_OK, saved->SaveCompleted(nullptr));
    ASSERT_EQ(S_OK, storage->Commit(STGC_DEFAULT));
    quick.reset();
    EXPECT_EQ(0u, ReleaseLast(saved));

    auto loaded = NewInstaller<IPersistStorage>();
    ASSERT_EQ(S_OK, loaded->Load(storage.get()));
    ASSERT_EQ(S_OK, loaded.query(quick));
    SIZEL read{};
    ASSERT_EQ(S_OK, quick->GetContentExtent(&read));
    EXPECT_EQ(4321, read.cx);
    EXPECT_EQ(8765, read.cy);
    quick.reset();
    EXPECT_EQ(0u, ReleaseLast(loaded));
}
