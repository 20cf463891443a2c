// DllRegisterServer and DllUnregisterServer called in process, then COM itself asked what
// it finds: the class by CLSID and ProgID, its categories, the registered type library.
#include "module_test_support.h"

#include "base/com_ptr.h"
#include "base/unique_resource.h"
#include "korvendal.h"

#include <comcat.h>
#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

using ServerFunction = HRESULT(STDAPICALLTYPE*)();

const CATID kSafeForInitializing = {0x7dd95802, 0x9882, 0x11cf, {0x9f, 0xa9, 0x00, 0xaa, 0x00, 0x6c, 0x42, 0xc4}};
const CATID kSafeForScripting = {0x7dd95801, 0x9882, 0x11cf, {0x9f, 0xa9, 0x00, 0xaa, 0x00, 0x6c, 0x42, 0xc4}};

// The class key lives in this bitness's registry view.
bool ClassRegistered() {
    unique_hkey key;
    return ::RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{D0D05CAA-80C0-455A-B5C8-6433218CBA29}\\InprocServer32", 0,
                           KEY_READ, key.put()) == ERROR_SUCCESS;
}

// The TypeLib key is shared by both views: the other bitness's control may have registered
// its own path there.
std::wstring RegisteredTypeLibraryPath() {
    UniqueBstr path;
    if (FAILED(::QueryPathOfRegTypeLib(LIBID_KorvendalLib, 1, 0, 0, path.put()))) return {};
    return path.str();
}

class ModuleRegistration : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
        ASSERT_TRUE(module_);
        register_ = module_.Export<ServerFunction>("DllRegisterServer");
        unregister_ = module_.Export<ServerFunction>("DllUnregisterServer");
        ASSERT_NE(nullptr, register_);
        ASSERT_NE(nullptr, unregister_);
        wasRegistered_ = ClassRegistered();
        previousLocale_ = ::GetThreadLocale();
    }
    void TearDown() override {
        // Other tests of this prefix may rely on the control being registered.
        if (wasRegistered_) register_();
        ::SetThreadLocale(previousLocale_);
        ::CoUninitialize();
    }

    test::LoadedControlModule module_;
    ServerFunction register_ = nullptr;
    ServerFunction unregister_ = nullptr;
    bool wasRegistered_ = false;
    LCID previousLocale_ = 0;
};

TEST_F(ModuleRegistration, CallersThreadLocaleIsGivenBack) {
    const LCID english = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
    ASSERT_TRUE(::SetThreadLocale(english));
    ASSERT_EQ(S_OK, register_());
    EXPECT_EQ(english, ::GetThreadLocale());
    ASSERT_EQ(S_OK, unregister_());
    EXPECT_EQ(english, ::GetThreadLocale());
}

TEST_F(ModuleRegistration, ComFindsTheClassByClsidAndProgId) {
    ASSERT_EQ(S_OK, register_());
    CLSID clsid = {};
    ASSERT_EQ(S_OK, ::CLSIDFromProgID(L"Korvendal.Installer", &clsid));
    EXPECT_TRUE(IsEqualCLSID(CLSID_Installer, clsid));
    ASSERT_EQ(S_OK, ::CLSIDFromProgID(L"Korvendal.Installer.1", &clsid));
    EXPECT_TRUE(IsEqualCLSID(CLSID_Installer, clsid));
    {
        ComPtr<IInstaller> installer;
        EXPECT_EQ(S_OK, ::CoCreateInstance(CLSID_Installer, nullptr, CLSCTX_INPROC_SERVER, IID_IInstaller,
                                           installer.put_void()));
    }
    ::CoFreeUnusedLibraries();

    ASSERT_EQ(S_OK, unregister_());
    EXPECT_EQ(CO_E_CLASSSTRING, ::CLSIDFromProgID(L"Korvendal.Installer", &clsid));
    ComPtr<IUnknown> none;
    EXPECT_EQ(REGDB_E_CLASSNOTREG, ::CoCreateInstance(CLSID_Installer, nullptr, CLSCTX_INPROC_SERVER,
                                                      IID_IUnknown, none.put_void()));
}

TEST_F(ModuleRegistration, ClassImplementsTheSafetyCategories) {
    ASSERT_EQ(S_OK, register_());
    ComPtr<ICatInformation> categories;
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_ICatInformation, categories.put_void()));
    CATID both[] = {kSafeForInitializing, kSafeForScripting};
    EXPECT_EQ(S_OK, categories->IsClassOfCategories(CLSID_Installer, 2, both, 0, both));
    ASSERT_EQ(S_OK, unregister_());
    EXPECT_NE(S_OK, categories->IsClassOfCategories(CLSID_Installer, 2, both, 0, both));
}

TEST_F(ModuleRegistration, RegisteredTypeLibraryReadsBackInKorean) {
    ASSERT_EQ(S_OK, register_());
    ComPtr<ITypeLib> library;
    ASSERT_EQ(S_OK, ::LoadRegTypeLib(LIBID_KorvendalLib, 1, 0, 0, library.put()));
    UniqueBstr help;
    ASSERT_EQ(S_OK, library->GetDocumentation(-1, nullptr, help.put(), nullptr, nullptr));
    EXPECT_EQ(L"Korvendal 1.0 형식 라이브러리", help.str());

    EXPECT_EQ(0, ::lstrcmpiW(module_.Path().c_str(), RegisteredTypeLibraryPath().c_str()));

    library.reset();
    ASSERT_EQ(S_OK, unregister_());
    EXPECT_NE(0, ::lstrcmpiW(module_.Path().c_str(), RegisteredTypeLibraryPath().c_str()));
    EXPECT_FALSE(ClassRegistered());
}

}  // namespace
}  // namespace kv
