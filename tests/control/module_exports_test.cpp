#include "module_test_support.h"

#include "base/com_ptr.h"
#include "korvendal.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using GetClassObjectFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFunction = HRESULT(STDAPICALLTYPE*)();

void* const kSentinel = reinterpret_cast<void*>(static_cast<uintptr_t>(0xdeadbeef));

class ModuleExports : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
        ASSERT_TRUE(module_) << "Korvendal.ocx not found beside the test program";
        getClassObject_ = module_.Export<GetClassObjectFunction>("DllGetClassObject");
        canUnloadNow_ = module_.Export<CanUnloadNowFunction>("DllCanUnloadNow");
        ASSERT_NE(nullptr, getClassObject_);
        ASSERT_NE(nullptr, canUnloadNow_);
    }
    void TearDown() override { ::CoUninitialize(); }

    ComPtr<IClassFactory> Factory() {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(S_OK, getClassObject_(CLSID_Installer, IID_IClassFactory, factory.put_void()));
        return factory;
    }

    test::LoadedControlModule module_;
    GetClassObjectFunction getClassObject_ = nullptr;
    CanUnloadNowFunction canUnloadNow_ = nullptr;
};

TEST_F(ModuleExports, AllFourEntryPointsAreExportedUndecorated) {
    for (const char* name : {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"}) {
        EXPECT_NE(nullptr, ::GetProcAddress(module_.get(), name)) << name;
    }
}

TEST_F(ModuleExports, OtherClassIsNotAvailable) {
    void* object = kSentinel;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject_(IID_IInstaller, IID_IClassFactory, &object));
    EXPECT_EQ(nullptr, object);
    object = kSentinel;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject_(CLSID_StdGlobalInterfaceTable, IID_IUnknown, &object));
    EXPECT_EQ(nullptr, object);
}

TEST_F(ModuleExports, NullOutPointerIsRefused) {
    EXPECT_EQ(E_POINTER, getClassObject_(CLSID_Installer, IID_IClassFactory, nullptr));
}

TEST_F(ModuleExports, FactoryIsCreatedOnceAndKept) {
    ComPtr<IClassFactory> first = Factory();
    ComPtr<IClassFactory> second = Factory();
    ASSERT_TRUE(first);
    EXPECT_EQ(first.get(), second.get());
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(S_OK, getClassObject_(CLSID_Installer, IID_IUnknown, unknown.put_void()));
    EXPECT_EQ(static_cast<IUnknown*>(first.get()), unknown.get());
}

TEST_F(ModuleExports, FactoryAnswersOnlyItsOwnInterfaces) {
    void* object = kSentinel;
    EXPECT_EQ(E_NOINTERFACE, getClassObject_(CLSID_Installer, IID_IDispatch, &object));
    EXPECT_EQ(nullptr, object);
}

TEST_F(ModuleExports, LockServerHoldsTheModule) {
    ComPtr<IClassFactory> factory = Factory();
    ASSERT_TRUE(factory);
    // A client that holds the factory may still create objects with it.
    EXPECT_EQ(S_FALSE, canUnloadNow_());
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    EXPECT_EQ(S_FALSE, canUnloadNow_());
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    EXPECT_EQ(S_FALSE, canUnloadNow_());
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    EXPECT_EQ(S_FALSE, canUnloadNow_());
    factory.reset();
    EXPECT_EQ(S_OK, canUnloadNow_());
}

TEST_F(ModuleExports, LiveObjectsHoldTheModule) {
    ComPtr<IClassFactory> factory = Factory();
    ASSERT_TRUE(factory);
    IUnknown* first = nullptr;
    IUnknown* second = nullptr;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&first)));
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&second)));
    EXPECT_NE(first, second);
    EXPECT_EQ(S_FALSE, canUnloadNow_());
    EXPECT_EQ(0u, first->Release());
    EXPECT_EQ(S_FALSE, canUnloadNow_());
    EXPECT_EQ(0u, second->Release());
    factory.reset();
    EXPECT_EQ(S_OK, canUnloadNow_());
}

TEST_F(ModuleExports, FactoryCreatesTheScriptingInterface) {
    ComPtr<IClassFactory> factory = Factory();
    ASSERT_TRUE(factory);
    ComPtr<IInstaller> installer;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IInstaller, installer.put_void()));
    ComPtr<IDispatch> dispatch;
    EXPECT_EQ(S_OK, installer.query(dispatch));
    void* object = kSentinel;
    EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, IID_IUnknown, nullptr));
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IClassFactory, &object));
    EXPECT_EQ(nullptr, object);
}

// An outer object may only ask for the inner object's IUnknown.
TEST_F(ModuleExports, AggregationAsksForIUnknownOnly) {
    ComPtr<IClassFactory> factory = Factory();
    ASSERT_TRUE(factory);
    ComPtr<IUnknown> outer;
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_StdGlobalInterfaceTable, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                       outer.put_void()));
    void* object = kSentinel;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(outer.get(), IID_IInstaller, &object));
    EXPECT_EQ(nullptr, object);
    factory.reset();
    EXPECT_EQ(S_OK, canUnloadNow_());
}

}  // namespace
}  // namespace kv
