// The Installer object's identity: its interface table, aggregation, the final release and
// the module's unload answer.
#include "installer_test_support.h"

#include <objsafe.h>

namespace {

// The interfaces the control answers to, in the order of its table.
const IID* const kInterfaces[] = {
    &IID_IInstaller,          &IID_IDispatch,
    &IID_IViewObjectEx,       &IID_IViewObject2,
    &IID_IViewObject,         &IID_IOleInPlaceObjectWindowless,
    &IID_IOleInPlaceObject,   &IID_IOleWindow,
    &IID_IOleInPlaceActiveObject, &IID_IOleControl,
    &IID_IOleObject,          &IID_IPersistStreamInit,
    &IID_IPersist,            &IID_ISupportErrorInfo,
    &IID_IConnectionPointContainer, &IID_ISpecifyPropertyPages,
    &IID_IQuickActivate,      &IID_IPersistStorage,
    &IID_IDataObject,         &IID_IProvideClassInfo,
    &IID_IProvideClassInfo2,  &IID_IObjectSafety,
};

// An outer object for aggregation: it answers IUnknown itself and counts its references.
class FakeOuter final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        ++queries;
        if (riid == IID_IUnknown) {
            *object = this;
            AddRef();
            return S_OK;
        }
        if (inner) return inner->QueryInterface(riid, object);
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    IUnknown* inner = nullptr;
    ULONG references = 1;
    int queries = 0;
};

}  // namespace

TEST(InstallerObject, AnswersEveryInterfaceOfItsTableWithOneIdentity) {
    auto object = NewInstaller<IUnknown>();
    ASSERT_TRUE(object);
    for (const IID* iid : kInterfaces) {
        IUnknown* answer = reinterpret_cast<IUnknown*>(0xdeadbeef);
        ASSERT_EQ(S_OK, object->QueryInterface(*iid, reinterpret_cast<void**>(&answer)));
        ASSERT_NE(nullptr, answer);
        kv::ComPtr<IUnknown> identity;
        EXPECT_EQ(S_OK, answer->QueryInterface(IID_IUnknown, identity.put_void()));
        EXPECT_EQ(object.get(), identity.get());
        answer->Release();
    }
    EXPECT_EQ(0u, ReleaseLast(object));
}

TEST(InstallerObject, RefusesInterfacesOutsideItsTable) {
    auto object = NewInstaller<IUnknown>();
    for (const IID* iid : {&IID_IOleLink, &IID_IRunnableObject, &IID_IPersistPropertyBag,
                           &IID_IPointerInactive, &IID_IOleInPlaceSite}) {
        void* answer = reinterpret_cast<void*>(0xdeadbeef);
        EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(*iid, &answer));
        EXPECT_EQ(nullptr, answer);
    }
    EXPECT_EQ(0u, ReleaseLast(object));
}

TEST(InstallerObject, AggregatedInterfacesCountOnTheOuterObject) {
    FakeOuter outer;
    kv::ComPtr<IUnknown> inner;
    ASSERT_EQ(S_OK, InstallerModule::Get().Create(IID_IUnknown, inner.put_void(), &outer));
    outer.inner = inner.get();

    kv::ComPtr<IOleObject> ole;
    ASSERT_EQ(S_OK, inner->QueryInterface(IID_IOleObject, ole.put_void()));
    EXPECT_EQ(2u, outer.references);  // the interface's reference went to the outer object
    kv::ComPtr<IUnknown> identity;
    EXPECT_EQ(S_OK, ole->QueryInterface(IID_IUnknown, identity.put_void()));
    EXPECT_EQ(static_cast<IUnknown*>(&outer), identity.get());
    identity.reset();
    ole.reset();
    EXPECT_EQ(1u, outer.references);
    outer.inner = nullptr;
    EXPECT_EQ(0u, ReleaseLast(inner));
}

TEST(InstallerObject, AggregationAsksForIUnknownOnly) {
    FakeOuter outer;
    void* answer = reinterpret_cast<void*>(0xdeadbeef);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, InstallerModule::Get().Create(IID_IOleObject, &answer, &outer));
    EXPECT_EQ(nullptr, answer);
    EXPECT_EQ(1u, outer.references);
}

TEST(InstallerObject, ModuleStaysWhileAnObjectLives) {
    ASSERT_EQ(S_OK, InstallerModule::Get().CanUnloadNow());
    auto object = NewInstaller<IOleObject>();
    kv::ComPtr<IDispatch> second;
    ASSERT_EQ(S_OK, object.query(second));
    EXPECT_EQ(S_FALSE, InstallerModule::Get().CanUnloadNow());
    second.reset();
    EXPECT_EQ(S_FALSE, InstallerModule::Get().CanUnloadNow());
    EXPECT_EQ(0u, ReleaseLast(object));
    EXPECT_EQ(S_OK, InstallerModule::Get().CanUnloadNow());
}

TEST(InstallerObject, ReportsItsClassAndMiscStatus) {
    auto object = NewInstaller<IOleObject>();
    CLSID clsid{};
    EXPECT_EQ(S_OK, object->GetUserClassID(&clsid));
    EXPECT_TRUE(clsid == CLSID_Installer);
    DWORD status = 0xdeadbeef;
    EXPECT_EQ(S_OK, object->GetMiscStatus(DVASPECT_CONTENT, &status));
    EXPECT_EQ(0x20191u, status);
    kv::ComPtr<IPersist> persist;
    ASSERT_EQ(S_OK, object.query(persist));
    clsid = GUID_NULL;
    EXPECT_EQ(S_OK, persist->GetClassID(&clsid));
    EXPECT_TRUE(clsid == CLSID_Installer);
    persist.reset();
    EXPECT_EQ(0u, ReleaseLast(object));
}
