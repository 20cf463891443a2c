#include "module_test_support.h"

#include "base/com_ptr.h"
#include "korvendal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv {
namespace {

struct Member {
    MEMBERID id;
    INVOKEKIND kind;
    std::wstring name;
    std::wstring help;
    short parameters;
};

bool operator==(const Member& a, const Member& b) {
    return a.id == b.id && a.kind == b.kind && a.name == b.name && a.help == b.help && a.parameters == b.parameters;
}

void PrintTo(const Member& m, std::ostream* out) {
    *out << "{" << m.id << ", kind " << m.kind << ", " << std::string(m.name.begin(), m.name.end()) << ", "
         << m.help.size() << " help chars, " << m.parameters << " params}";
}

class ModuleTypeLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(module_);
        ASSERT_EQ(S_OK, ::LoadTypeLibEx(module_.Path().c_str(), REGKIND_NONE, library_.put()));
    }

    ComPtr<ITypeInfo> Info(REFGUID guid) {
        ComPtr<ITypeInfo> info;
        EXPECT_EQ(S_OK, library_->GetTypeInfoOfGuid(guid, info.put()));
        return info;
    }

    static std::wstring Help(ITypeInfo* info, MEMBERID id) {
        UniqueBstr name, help;
        info->GetDocumentation(id, name.put(), help.put(), nullptr, nullptr);
        return help.str();
    }

    static std::vector<Member> Members(ITypeInfo* info) {
        std::vector<Member> members;
        TYPEATTR* attributes = nullptr;
        if (FAILED(info->GetTypeAttr(&attributes))) return members;
        const WORD count = attributes->cFuncs;
        info->ReleaseTypeAttr(attributes);
        for (UINT i = 0; i < count; ++i) {
            FUNCDESC* function = nullptr;
            if (FAILED(info->GetFuncDesc(i, &function))) continue;
            UniqueBstr name, help;
            info->GetDocumentation(function->memid, name.put(), help.put(), nullptr, nullptr);
            members.push_back({function->memid, function->invkind, name.str(), help.str(), function->cParams});
            info->ReleaseFuncDesc(function);
        }
        return members;
    }

    test::LoadedControlModule module_;
    ComPtr<ITypeLib> library_;
};

TEST_F(ModuleTypeLibrary, LibraryIdentityAndKoreanHelp) {
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, library_->GetLibAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(LIBID_KorvendalLib, attributes->guid));
    EXPECT_EQ(1, attributes->wMajorVerNum);
    EXPECT_EQ(0, attributes->wMinorVerNum);
    // Written like MIDL without an lcid attribute: the file's own locale is 0x409 and the
    // library registers as language neutral, under TypeLib\{LIBID}\1.0\0.
    EXPECT_EQ(0u, attributes->lcid);
    EXPECT_EQ(sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32, attributes->syskind);
    library_->ReleaseTLibAttr(attributes);

    UniqueBstr name, help;
    ASSERT_EQ(S_OK, library_->GetDocumentation(-1, name.put(), help.put(), nullptr, nullptr));
    EXPECT_EQ(L"KorvendalLib", name.str());
    EXPECT_EQ(L"Korvendal 1.0 형식 라이브러리", help.str());
    EXPECT_EQ(3u, library_->GetTypeInfoCount());
}

TEST_F(ModuleTypeLibrary, ScriptingInterfaceIsDualWithItsDispids) {
    const ComPtr<ITypeInfo> dispatch = Info(IID_IInstaller);
    ASSERT_TRUE(dispatch);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, dispatch->GetTypeAttr(&attributes));
    EXPECT_EQ(TKIND_DISPATCH, attributes->typekind);
    EXPECT_EQ(TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE,
              attributes->wTypeFlags & (TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE));
    dispatch->ReleaseTypeAttr(attributes);
    EXPECT_EQ(L"IInstaller 인터페이스", Help(dispatch.get(), MEMBERID_NIL));

    // The vtable side of the dual interface: IDispatch's seven methods come first.
    HREFTYPE reference = 0;
    ASSERT_EQ(S_OK, dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference));
    ComPtr<ITypeInfo> vtable;
    ASSERT_EQ(S_OK, dispatch->GetRefTypeInfo(reference, vtable.put()));
    ASSERT_EQ(S_OK, vtable->GetTypeAttr(&attributes));
    EXPECT_EQ(TKIND_INTERFACE, attributes->typekind);
    EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
    EXPECT_EQ(7, attributes->cbSizeVft / static_cast<int>(sizeof(void*)) - 5);  // IDispatch's 7 + our 5
    vtable->ReleaseTypeAttr(attributes);
    EXPECT_EQ((std::vector<Member>{
                  {1, INVOKE_PROPERTYGET, L"BasePath", L"속성 BasePath", 1},
                  {1, INVOKE_PROPERTYPUT, L"BasePath", L"속성 BasePath", 1},
                  {2, INVOKE_PROPERTYGET, L"InfoFileName", L"속성 InfoFileName", 1},
                  {2, INVOKE_PROPERTYPUT, L"InfoFileName", L"속성 InfoFileName", 1},
                  {50, INVOKE_FUNC, L"Init", L"메서드 Init", 2},
              }),
              Members(vtable.get()));

    MEMBERID ids[3] = {};
    const wchar_t* names[] = {L"Init", L"bstrURL", L"bstrFileName"};
    ASSERT_EQ(S_OK, vtable->GetIDsOfNames(const_cast<LPOLESTR*>(names), 3, ids));
    EXPECT_EQ(50, ids[0]);
    EXPECT_EQ(0, ids[1]);
    EXPECT_EQ(1, ids[2]);
}

TEST_F(ModuleTypeLibrary, EventsAreDispatchOnly) {
    const ComPtr<ITypeInfo> events = Info(DIID__IInstallerEvents);
    ASSERT_TRUE(events);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, events->GetTypeAttr(&attributes));
    EXPECT_EQ(TKIND_DISPATCH, attributes->typekind);
    EXPECT_EQ(0, attributes->wTypeFlags & TYPEFLAG_FDUAL);
    events->ReleaseTypeAttr(attributes);
    EXPECT_EQ(L"_IInstallerEvents 인터페이스", Help(events.get(), MEMBERID_NIL));
    EXPECT_EQ((std::vector<Member>{
                  {1, INVOKE_FUNC, L"OnCreate", L"메서드 OnCreate", 0},
                  {2, INVOKE_FUNC, L"OnClose", L"메서드 OnClose", 0},
              }),
              Members(events.get()));
}

TEST_F(ModuleTypeLibrary, ClassImplementsTheInterfaceAndSourcesTheEvents) {
    const ComPtr<ITypeInfo> coclass = Info(CLSID_Installer);
    ASSERT_TRUE(coclass);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, coclass->GetTypeAttr(&attributes));
    EXPECT_EQ(TKIND_COCLASS, attributes->typekind);
    EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FCANCREATE);
    EXPECT_EQ(2, attributes->cImplTypes);
    coclass->ReleaseTypeAttr(attributes);
    EXPECT_EQ(L"Installer Class", Help(coclass.get(), MEMBERID_NIL));

    const GUID* expected[] = {&IID_IInstaller, &DIID__IInstallerEvents};
    const INT flags[] = {IMPLTYPEFLAG_FDEFAULT, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE};
    for (UINT i = 0; i < 2; ++i) {
        INT implFlags = 0;
        ASSERT_EQ(S_OK, coclass->GetImplTypeFlags(i, &implFlags));
        EXPECT_EQ(flags[i], implFlags);
        HREFTYPE reference = 0;
        ASSERT_EQ(S_OK, coclass->GetRefTypeOfImplType(i, &reference));
        ComPtr<ITypeInfo> implemented;
        ASSERT_EQ(S_OK, coclass->GetRefTypeInfo(reference, implemented.put()));
        TYPEATTR* implAttributes = nullptr;
        ASSERT_EQ(S_OK, implemented->GetTypeAttr(&implAttributes));
        EXPECT_TRUE(IsEqualGUID(*expected[i], implAttributes->guid));
        implemented->ReleaseTypeAttr(implAttributes);
    }
}

// The help strings are stored in code page 949; read back as ANSI they must be the same bytes
// the system's narrow Korean literals have.
TEST_F(ModuleTypeLibrary, HelpStringsAreCodePage949) {
    ASSERT_EQ(949u, ::GetACP());
    UniqueBstr help;
    ASSERT_EQ(S_OK, library_->GetDocumentation(-1, nullptr, help.put(), nullptr, nullptr));
    char narrow[64] = {};
    ::WideCharToMultiByte(CP_ACP, 0, help.get(), -1, narrow, sizeof(narrow), nullptr, nullptr);
    EXPECT_STREQ("Korvendal 1.0 형식 라이브러리", narrow);
}

}  // namespace
}  // namespace kv
