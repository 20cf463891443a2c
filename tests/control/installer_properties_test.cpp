// The scripting members of IInstaller without a network: BasePath and InfoFileName, the
// values a page may not set, Init's early failures, and the same through IDispatch.
#include "installer_test_support.h"

#include <oleauto.h>

#include <string>

namespace {

const wchar_t kUnsafeBasePath[] =
    L"기본 폴더(BasePath 속성)는 임시 폴더 안의 상대 경로여야 합니다.(-2147024809)";
const wchar_t kUnsafeInfoFileName[] =
    L"스킨파일명(InfoFileName 속성)은 기본 폴더 안의 상대 경로여야 합니다.(-2147024809)";
const wchar_t kUnsafeFileName[] =
    L"다운로드 파일명은 다운로드 폴더 안의 상대 경로여야 합니다.(-2147024809)";
const wchar_t kMissingInfoFileName[] =
    L"스킨파일명(InfoFileName 속성)을 지정해 주십시오.(-2147467259)";
const wchar_t kNoTempFolder[] =
    L"사용자 임시 폴더를 찾을 수 없어 기본 폴더를 정할 수 없습니다.(-2147467259)";

// Values that would lead out of the folder they are joined to. The system reads a name up to
// its first NUL, which a BSTR may hold anywhere.
const std::wstring kUnsafeValues[] = {
    L"..",           L"..\\outside",     L"Skin\\..\\..\\outside", L"Skin/../../outside",
    L"C:\\Windows",  L"C:outside",       L"\\rooted",              L"/rooted",
    L"\\\\server\\share", L"//server/share", L"skin.zip:stream",   L"\\\\?\\C:\\x",
    std::wstring(L"..\0x", 4), std::wstring(L"CON\0", 4),
};

// Characters without a form of their own in code page 949: '?' or a look-alike would stand
// in for them.
const wchar_t* const kInexactValues[] = {L"caf\u00e9.zip", L"..\u2215x"};

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, buffer);
    return buffer;
}

std::wstring Get(HRESULT (STDMETHODCALLTYPE IInstaller::*getter)(BSTR*), IInstaller* object) {
    kv::UniqueBstr value;
    EXPECT_EQ(S_OK, (object->*getter)(value.put()));
    return value.str();
}

HRESULT Put(HRESULT (STDMETHODCALLTYPE IInstaller::*setter)(BSTR), IInstaller* object,
            const std::wstring& value) {
    kv::UniqueBstr text(value);
    ::SetErrorInfo(0, nullptr);
    return (object->*setter)(text.get());
}

HRESULT CallInit(IInstaller* object, const std::wstring& url, const std::wstring& file) {
    kv::UniqueBstr u(url), f(file);
    ::SetErrorInfo(0, nullptr);
    return object->Init(u.get(), f.get());
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

TEST(InstallerBasePath, IsTheTemporaryFolderFollowedByTheValue) {
    auto installer = NewInstaller<IInstaller>();
    EXPECT_EQ(L"", Get(&IInstaller::get_BasePath, installer.get()));
    const std::wstring tag = L"kv-object-" + std::to_wstring(::GetCurrentProcessId());
    for (const std::wstring& value : {tag, tag + L"\\Blue", tag + L"\\Trailing\\"}) {
        EXPECT_EQ(S_OK, Put(&IInstaller::put_BasePath, installer.get(), value.c_str()));
        const std::wstring base = Get(&IInstaller::get_BasePath, installer.get());
        EXPECT_EQ(TempFolder() + value, base);
        EXPECT_TRUE(FolderExists(base)) << "not created: " << kv::WideToUtf8(base);
    }
    EXPECT_EQ(S_OK, Put(&IInstaller::put_BasePath, installer.get(), L""));
    EXPECT_EQ(TempFolder(), Get(&IInstaller::get_BasePath, installer.get()));
    ::RemoveDirectoryW((TempFolder() + tag + L"\\Trailing").c_str());
    ::RemoveDirectoryW((TempFolder() + tag + L"\\Blue").c_str());
    ::RemoveDirectoryW((TempFolder() + tag).c_str());
    EXPECT_EQ(0u, ReleaseLast(installer));
}

TEST(InstallerBasePath, RefusesValuesThatLeaveTheTemporaryFolder) {
    auto installer = NewInstaller<IInstaller>();
    ASSERT_EQ(S_OK, Put(&IInstaller::put_BasePath, installer.get(), L""));
    const std::wstring before = Get(&IInstaller::get_BasePath, installer.get());
    EXPECT_EQ(TempFolder(), before);
    for (const std::wstring& value : kUnsafeValues) {
        SCOPED_TRACE(kv::WideToUtf8(value));
        EXPECT_EQ(E_FAIL, Put(&IInstaller::put_BasePath, installer.get(), value));
        EXPECT_EQ(kUnsafeBasePath, TakeErrorDescription());
        EXPECT_EQ(before, Get(&IInstaller::get_BasePath, installer.get()));
    }
    EXPECT_EQ(0u, ReleaseLast(installer));
}

TEST(InstallerBasePath, FailsWithoutTheTemporaryFolder) {
    auto installer = NewInstaller<IInstaller>();
    // GetTempPath reports TMP first; one too long for a path leaves the folder unknown.
    wchar_t saved[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"TMP", saved, MAX_PATH);
    ASSERT_TRUE(::SetEnvironmentVariableW(L"TMP", (L"C:\\" + std::wstring(300, L't')).c_str()));
    EXPECT_EQ(E_FAIL, Put(&IInstaller::put_BasePath, installer.get(), L"Skin"));
    EXPECT_EQ(kNoTempFolder, TakeErrorDescription());
    ::SetEnvironmentVariableW(L"TMP", length > 0 && length < MAX_PATH ? saved : nullptr);
    EXPECT_EQ(L"", Get(&IInstaller::get_BasePath, installer.get()));
    EXPECT_EQ(0u, ReleaseLast(installer));
}

TEST(InstallerText, WithoutAnExactAnsiFormItIsRefused) {
    auto installer = NewInstaller<IInstaller>();
    ASSERT_EQ(S_OK, Put(&IInstaller::put_InfoFileName, installer.get(), L"skin.zip"));
    for (const wchar_t* value : kInexactValues) {
        SCOPED_TRACE(kv::WideToUtf8(value));
        EXPECT_EQ(E_FAIL, Put(&IInstaller::put_BasePath, installer.get(), value));
        EXPECT_EQ(kUnsafeBasePath, TakeErrorDescription());
        EXPECT_EQ(E_FAIL, Put(&IInstaller::put_InfoFileName, installer.get(), value));
        EXPECT_EQ(kUnsafeInfoFileName, TakeErrorDescription());
        // Init refuses such a URL or file name as an invalid argument, before any request.
        EXPECT_EQ(E_INVALIDARG, CallInit(installer.get(), std::wstring(L"http://127.0.0.1:9/") + value, L"f"));
        EXPECT_EQ(E_INVALIDARG, CallInit(installer.get(), L"http://127.0.0.1:9/", value));
    }
    EXPECT_EQ(L"skin.zip", Get(&IInstaller::get_InfoFileName, installer.get()));
    EXPECT_EQ(0u, ReleaseLast(installer));
}

TEST(InstallerInfoFileName, KeepsOrdinaryNamesAndKoreanText) {
    auto installer = NewInstaller<IInstaller>();
    EXPECT_EQ(L"", Get(&IInstaller::get_InfoFileName, installer.get()));
    for (const wchar_t* value : {L"skin.zip", L"스킨 파일.zip", L"blue\\skin.zip", L"a..b.zip", L""}) {
        EXPECT_EQ(S_OK, Put(&IInstaller::put_InfoFileName, installer.get(), value));
        EXPECT_EQ(value, Get(&IInstaller::get_InfoFileName, installer.get()));
    }
    EXPECT_EQ(0u, ReleaseLast(installer));
}

TEST(InstallerInfoFileName, RefusesNamesThatLeaveTheBaseFolder) {
    auto installer = NewInstaller<IInstaller>();
    ASSERT_EQ(S_OK, Put(&IInstaller::put_InfoFileName, installer.get(), L"skin.zip"));
    for (const std::wstring& value : kUnsafeValues) {
        SCOPED_TRACE(kv::WideToUtf8(value));
        EXPECT_EQ(E_FAIL, Put(&IInstaller::put_InfoFileName, installer.get(), value));
        EXPECT_EQ(kUnsafeInfoFileName, TakeErrorDescription());
        EXPECT_EQ(L"skin.zip", Get(&IInstaller::get_InfoFileName, installer.get()));
    }
    EXPECT_EQ(0u, ReleaseLast(installer));
}

TEST(InstallerInit, EmptyUrlIsAnInvalidArgumentWithoutErrorObject) {
    auto installer = NewInstaller<IInstaller>();
    EXPECT_EQ(E_INVALIDARG, CallInit(installer.get(), L"", L"file.bin"));
    EXPECT_EQ(L"", TakeErrorDescription());
    EXPECT_EQ(0u, ReleaseLast(installer));
}

TEST(InstallerInit, AsksForTheSkinFileNameFirst) {
    auto installer = NewInstaller<IInstaller>();
    // No server listens on port 9 of loopback; the call must fail before any connection.
    EXPECT_EQ(E_FAIL, CallInit(installer.get(), L"http://127.0.0.1:9/skins", L"file.bin"));
    EXPECT_EQ(kMissingInfoFileName, TakeErrorDescription());
    EXPECT_EQ(0u, ReleaseLast(installer));
}

TEST(InstallerInit, RefusesDownloadNamesThatLeaveTheDownloadFolder) {
    auto installer = NewInstaller<IInstaller>();
    ASSERT_EQ(S_OK, Put(&IInstaller::put_InfoFileName, installer.get(), L"skin.zip"));
    for (const std::wstring& value : kUnsafeValues) {
        SCOPED_TRACE(kv::WideToUtf8(value));
        EXPECT_EQ(E_FAIL, CallInit(installer.get(), L"http://127.0.0.1:9/", value));
        EXPECT_EQ(kUnsafeFileName, TakeErrorDescription());
    }
    EXPECT_EQ(0u, ReleaseLast(installer));
}

TEST(InstallerDispatch, NamesMembersByTheirDispids) {
    auto dispatch = NewInstaller<IDispatch>();
    UINT count = 0;
    EXPECT_EQ(S_OK, dispatch->GetTypeInfoCount(&count));
    EXPECT_EQ(1u, count);
    const std::pair<const wchar_t*, DISPID> members[] = {
        {L"BasePath", 1}, {L"InfoFileName", 2}, {L"Init", 50}, {L"init", 50}};
    for (const auto& [name, expected] : members) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        DISPID id = 0;
        EXPECT_EQ(S_OK, dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
        EXPECT_EQ(expected, id);
    }
    LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"Download")};
    DISPID id = 0;
    EXPECT_EQ(DISP_E_UNKNOWNNAME, dispatch->GetIDsOfNames(IID_NULL, unknown, 1, 0, &id));
    EXPECT_EQ(0u, ReleaseLast(dispatch));
}

TEST(InstallerDispatch, PropertiesAndFailuresTravelThroughInvoke) {
    auto dispatch = NewInstaller<IDispatch>();
    // InfoFileName = "스킨.zip"
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = ::SysAllocString(L"스킨.zip");
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS put{&value, &named, 1, 1};
    EXPECT_EQ(S_OK, dispatch->Invoke(2, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr));
    ::VariantClear(&value);

    DISPPARAMS none{};
    VARIANT result;
    ::VariantInit(&result);
    EXPECT_EQ(S_OK, dispatch->Invoke(2, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr));
    ASSERT_EQ(VT_BSTR, result.vt);
    EXPECT_STREQ(L"스킨.zip", result.bstrVal);
    ::VariantClear(&result);

    // A refused value comes back as an exception carrying the description.
    ::VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = ::SysAllocString(L"..\\..\\evil.zip");
    EXCEPINFO exception{};
    EXPECT_EQ(DISP_E_EXCEPTION,
              dispatch->Invoke(2, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, &exception, nullptr));
    ::VariantClear(&value);
    EXPECT_EQ(E_FAIL, exception.scode);
    EXPECT_STREQ(kUnsafeInfoFileName, exception.bstrDescription);
    ::SysFreeString(exception.bstrDescription);
    ::SysFreeString(exception.bstrSource);
    ::SysFreeString(exception.bstrHelpFile);

    // Init("", "") fails before anything else.
    VARIANT arguments[2];
    for (VARIANT& argument : arguments) {
        ::VariantInit(&argument);
        argument.vt = VT_BSTR;
        argument.bstrVal = ::SysAllocString(L"");
    }
    DISPPARAMS call{arguments, nullptr, 2, 0};
    exception = EXCEPINFO{};
    const HRESULT hr = dispatch->Invoke(50, IID_NULL, 0, DISPATCH_METHOD, &call, nullptr, &exception, nullptr);
    EXPECT_TRUE(hr == E_INVALIDARG || (hr == DISP_E_EXCEPTION && exception.scode == E_INVALIDARG))
        << std::hex << hr;
    for (VARIANT& argument : arguments) ::VariantClear(&argument);
    ::SysFreeString(exception.bstrDescription);
    ::SysFreeString(exception.bstrSource);
    ::SysFreeString(exception.bstrHelpFile);
    EXPECT_EQ(0u, ReleaseLast(dispatch));
}
