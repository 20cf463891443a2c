// What the Installer tells a host about itself: object safety, class information, error
// information support and property pages.
#include "installer_test_support.h"

#include <objsafe.h>

TEST(InstallerSafety, ReportsSupportedAndCurrentOptions) {
    auto safety = NewInstaller<IObjectSafety>();
    ASSERT_TRUE(safety);
    DWORD supported = 0xdeadbeef;
    DWORD enabled = 0xdeadbeef;
    EXPECT_EQ(S_OK, safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled));
    EXPECT_EQ(3u, supported);
    EXPECT_EQ(0u, enabled);

    EXPECT_EQ(E_POINTER, safety->GetInterfaceSafetyOptions(IID_IDispatch, nullptr, &enabled));
    EXPECT_EQ(E_POINTER, safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, nullptr));

    supported = enabled = 0xdeadbeef;
    EXPECT_EQ(E_NOINTERFACE, safety->GetInterfaceSafetyOptions(IID_IOleLink, &supported, &enabled));
    EXPECT_EQ(0u, supported);
    EXPECT_EQ(0u, enabled);
    EXPECT_EQ(0u, ReleaseLast(safety));
}

TEST(InstallerSafety, SetsOnlyTheMaskedOptions) {
    auto safety = NewInstaller<IObjectSafety>();
    DWORD supported = 0;
    DWORD enabled = 0;
    EXPECT_EQ(E_FAIL, safety->SetInterfaceSafetyOptions(IID_IDispatch, 0x4, 0x4));
    EXPECT_EQ(E_FAIL, safety->SetInterfaceSafetyOptions(IID_IDispatch, 0x7, 0x1));
    EXPECT_EQ(E_NOINTERFACE, safety->SetInterfaceSafetyOptions(IID_IOleLink, 0x1, 0x1));
    ASSERT_EQ(S_OK, safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled));
    EXPECT_EQ(0u, enabled);  // refused calls changed nothing

    EXPECT_EQ(S_OK, safety->SetInterfaceSafetyOptions(IID_IDispatch, 0x3, 0x1));
    ASSERT_EQ(S_OK, safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled));
    EXPECT_EQ(0x1u, enabled);
    // Bits outside the mask keep their value.
    EXPECT_EQ(S_OK, safety->SetInterfaceSafetyOptions(IID_IPersistStreamInit, 0x2, 0x2));
    ASSERT_EQ(S_OK, safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled));
    EXPECT_EQ(0x3u, enabled);
    EXPECT_EQ(S_OK, safety->SetInterfaceSafetyOptions(IID_IDispatch, 0x1, 0x0));
    ASSERT_EQ(S_OK, safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled));
    EXPECT_EQ(0x2u, enabled);
    EXPECT_EQ(0u, ReleaseLast(safety));
}

TEST(InstallerClassInfo, GivesTheEventInterfaceForTheDefaultSourceOnly) {
    auto info = NewInstaller<IProvideClassInfo2>();
    ASSERT_TRUE(info);
    GUID guid = GUID_NULL;
    EXPECT_EQ(S_OK, info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &guid));
    EXPECT_TRUE(guid == DIID__IInstallerEvents);
    for (DWORD kind : {0u, 2u, 0xffffffffu}) {
        guid = CLSID_Installer;
        EXPECT_EQ(E_INVALIDARG, info->GetGUID(kind, &guid));
        EXPECT_TRUE(guid == GUID_NULL);
    }
    EXPECT_EQ(E_POINTER, info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, nullptr));
    EXPECT_EQ(0u, ReleaseLast(info));
}

TEST(InstallerClassInfo, DescribesTheClassFromTheEmbeddedTypeLibrary) {
    auto info = NewInstaller<IProvideClassInfo>();
    kv::ComPtr<ITypeInfo> type;
    ASSERT_EQ(S_OK, info->GetClassInfo(type.put()));
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, type->GetTypeAttr(&attributes));
    EXPECT_TRUE(attributes->guid == CLSID_Installer);
    EXPECT_EQ(TKIND_COCLASS, attributes->typekind);
    EXPECT_EQ(2, attributes->cImplTypes);
    type->ReleaseTypeAttr(attributes);
    type.reset();
    EXPECT_EQ(0u, ReleaseLast(info));
}

TEST(InstallerErrorInfo, SupportsErrorInformationForIInstallerOnly) {
    auto support = NewInstaller<ISupportErrorInfo>();
    ASSERT_TRUE(support);
    EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(IID_IInstaller));
    EXPECT_EQ(S_FALSE, support->InterfaceSupportsErrorInfo(IID_IDispatch));
    EXPECT_EQ(S_FALSE, support->InterfaceSupportsErrorInfo(IID_IOleObject));
    EXPECT_EQ(0u, ReleaseLast(support));
}

TEST(InstallerPropertyPages, HasNone) {
    auto pages = NewInstaller<ISpecifyPropertyPages>();
    CAUUID list{};
    list.cElems = 7;
    list.pElems = reinterpret_cast<GUID*>(0xdeadbeef);
    EXPECT_EQ(S_OK, pages->GetPages(&list));
    EXPECT_EQ(0u, list.cElems);
    EXPECT_EQ(nullptr, list.pElems);
    EXPECT_EQ(0u, ReleaseLast(pages));
}
