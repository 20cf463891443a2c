#include "control/module/registry_script_applier.h"
#include "control/module/registry_script_parser.h"
#include "control/module/registry_script_replacement.h"
#include "control/resource.h"
#include "base/unique_resource.h"
#include "registry_script_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace kv {
namespace {

const wchar_t kClassKey[] = L"CLSID\\{D0D05CAA-80C0-455A-B5C8-6433218CBA29}";

// Each test writes below its own scratch key, HKCU\Software\KorvendalTest\<test>, which
// stands in for HKEY_CLASSES_ROOT.
class RegistryScriptApplier : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = info->name();
        path_ = L"Software\\KorvendalTest\\" + std::wstring(name.begin(), name.end()) + L"_" +
                std::to_wstring(::GetCurrentProcessId());
        ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0,
                                                   KEY_ALL_ACCESS, nullptr, root_.put(), nullptr));
    }
    void TearDown() override {
        root_.reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    }

    HRESULT Apply(const std::wstring& text, RegistryScriptMode mode) {
        const auto parsed = ParseRegistryScript(text);
        EXPECT_TRUE(parsed.ok);
        const HKEY root = root_.get();
        return ApplyRegistryScript(parsed.script, mode, [root](RegistryRoot which) {
            return which == RegistryRoot::ClassesRoot ? root : nullptr;
        });
    }

    HRESULT ApplyShipped(unsigned resourceId, RegistryScriptMode mode) {
        RegistryReplacements replacements;
        replacements.Add(L"APPID", L"{CF7DB100-A536-4B12-AA19-68C3F52245BE}");
        replacements.Add(L"MODULE", L"C:\\dir\\Korvendal.ocx");
        replacements.Add(L"OLEMISC", L"131473");
        std::wstring expanded;
        EXPECT_EQ(S_OK, ExpandRegistryScript(test::ShippedScript(resourceId), replacements, expanded));
        return Apply(expanded, mode);
    }

    bool Exists(const std::wstring& key) {
        unique_hkey opened;
        return ::RegOpenKeyExW(root_.get(), key.c_str(), 0, KEY_READ, opened.put()) == ERROR_SUCCESS;
    }

    std::optional<std::wstring> String(const std::wstring& key, const wchar_t* name = nullptr) {
        wchar_t buffer[512] = {};
        DWORD size = sizeof(buffer);
        DWORD type = 0;
        if (::RegGetValueW(root_.get(), key.c_str(), name, RRF_RT_ANY, &type, buffer, &size) != ERROR_SUCCESS ||
            type != REG_SZ) {
            return std::nullopt;
        }
        return std::wstring(buffer);
    }

    std::vector<std::wstring> Subkeys(const std::wstring& key) {
        std::vector<std::wstring> names;
        unique_hkey opened;
        if (::RegOpenKeyExW(root_.get(), key.c_str(), 0, KEY_READ, opened.put()) != ERROR_SUCCESS) return names;
        wchar_t name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = 256;
            if (::RegEnumKeyExW(opened.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            names.emplace_back(name, length);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    void Create(const std::wstring& key, const wchar_t* valueName = nullptr, const wchar_t* value = L"old") {
        unique_hkey created;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(root_.get(), key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                   nullptr, created.put(), nullptr));
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(created.get(), valueName, 0, REG_SZ,
                                                  reinterpret_cast<const BYTE*>(value),
                                                  static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t))));
    }

    std::wstring path_;
    unique_hkey root_;
};

TEST_F(RegistryScriptApplier, ClassScriptWritesEveryKeyAndValue) {
    ASSERT_EQ(S_OK, ApplyShipped(IDR_INSTALLER, RegistryScriptMode::Register));
    const std::wstring key = kClassKey;
    EXPECT_EQ(L"Installer Class", String(L"Korvendal.Installer.1"));
    EXPECT_EQ(L"Korvendal.Installer.1", String(L"Korvendal.Installer\\CurVer"));
    EXPECT_EQ(L"Installer Class", String(key));
    EXPECT_EQ(L"{CF7DB100-A536-4B12-AA19-68C3F52245BE}", String(key, L"AppID"));
    EXPECT_EQ(L"C:\\dir\\Korvendal.ocx", String(key + L"\\InprocServer32"));
    EXPECT_EQ(L"Apartment", String(key + L"\\InprocServer32", L"ThreadingModel"));
    EXPECT_EQ(L"C:\\dir\\Korvendal.ocx, 103", String(key + L"\\ToolboxBitmap32"));
    EXPECT_EQ(L"0", String(key + L"\\MiscStatus"));
    EXPECT_EQ(L"131473", String(key + L"\\MiscStatus\\1"));
    EXPECT_TRUE(Exists(key + L"\\Control"));
    EXPECT_TRUE(Exists(key + L"\\Programmable"));
    EXPECT_EQ(std::nullopt, String(key + L"\\Control"));  // a key without a default value
}

TEST_F(RegistryScriptApplier, RemovalLeavesOnlyTheNoRemoveKeys) {
    ASSERT_EQ(S_OK, ApplyShipped(IDR_KORVENDAL_MODULE, RegistryScriptMode::Register));
    ASSERT_EQ(S_OK, ApplyShipped(IDR_INSTALLER, RegistryScriptMode::Register));
    EXPECT_EQ((std::vector<std::wstring>{L"Korvendal.DLL", L"{CF7DB100-A536-4B12-AA19-68C3F52245BE}"}),
              Subkeys(L"AppID"));

    EXPECT_EQ(S_OK, ApplyShipped(IDR_INSTALLER, RegistryScriptMode::Remove));
    EXPECT_EQ(S_OK, ApplyShipped(IDR_KORVENDAL_MODULE, RegistryScriptMode::Remove));
    EXPECT_EQ((std::vector<std::wstring>{L"AppID", L"CLSID"}), Subkeys(L""));
    EXPECT_TRUE(Subkeys(L"AppID").empty());
    EXPECT_TRUE(Subkeys(L"CLSID").empty());
}

TEST_F(RegistryScriptApplier, RemovalSparesWhatTheScriptDoesNotName) {
    Create(L"CLSID\\{00000000-0000-0000-0000-000000000001}");
    Create(L"AppID\\Other.DLL", L"AppID");
    ASSERT_EQ(S_OK, ApplyShipped(IDR_INSTALLER, RegistryScriptMode::Register));
    ASSERT_EQ(S_OK, ApplyShipped(IDR_INSTALLER, RegistryScriptMode::Remove));
    EXPECT_EQ((std::vector<std::wstring>{L"{00000000-0000-0000-0000-000000000001}"}), Subkeys(L"CLSID"));
    EXPECT_EQ(S_OK, ApplyShipped(IDR_KORVENDAL_MODULE, RegistryScriptMode::Remove));
    EXPECT_EQ(L"old", String(L"AppID\\Other.DLL", L"AppID"));
}

TEST_F(RegistryScriptApplier, ForceRemoveWipesStaleSubkeysBeforeWriting) {
    const std::wstring key = kClassKey;
    Create(key + L"\\Stale");
    Create(key + L"\\InprocServer32", L"Stale");
    Create(L"Korvendal.Installer\\Stale");  // not ForceRemove: survives registration
    ASSERT_EQ(S_OK, ApplyShipped(IDR_INSTALLER, RegistryScriptMode::Register));
    EXPECT_FALSE(Exists(key + L"\\Stale"));
    EXPECT_EQ(std::nullopt, String(key + L"\\InprocServer32", L"Stale"));
    EXPECT_EQ(L"Apartment", String(key + L"\\InprocServer32", L"ThreadingModel"));
    EXPECT_TRUE(Exists(L"Korvendal.Installer\\Stale"));
    // Removal takes such a key with everything below it.
    ASSERT_EQ(S_OK, ApplyShipped(IDR_INSTALLER, RegistryScriptMode::Remove));
    EXPECT_FALSE(Exists(L"Korvendal.Installer"));
}

TEST_F(RegistryScriptApplier, RegistrationOverwritesValuesAndTwiceIsHarmless) {
    Create(L"Korvendal.Installer.1", nullptr, L"Old Name");
    ASSERT_EQ(S_OK, ApplyShipped(IDR_INSTALLER, RegistryScriptMode::Register));
    ASSERT_EQ(S_OK, ApplyShipped(IDR_INSTALLER, RegistryScriptMode::Register));
    EXPECT_EQ(L"Installer Class", String(L"Korvendal.Installer.1"));
}

TEST_F(RegistryScriptApplier, RemovingWhatIsAbsentSucceeds) {
    EXPECT_EQ(S_OK, ApplyShipped(IDR_INSTALLER, RegistryScriptMode::Remove));
    EXPECT_EQ(S_OK, ApplyShipped(IDR_KORVENDAL_MODULE, RegistryScriptMode::Remove));
    EXPECT_TRUE(Subkeys(L"").empty());
}

TEST_F(RegistryScriptApplier, NoRemoveKeyLosesOnlyTheScriptsNamedValues) {
    ASSERT_EQ(S_OK, Apply(L"HKCR { NoRemove Keep = s 'default' { val Mine = s 'a' } }", RegistryScriptMode::Register));
    Create(L"Keep", L"Theirs", L"b");
    ASSERT_EQ(S_OK, Apply(L"HKCR { NoRemove Keep = s 'default' { val Mine = s 'a' } }", RegistryScriptMode::Remove));
    EXPECT_EQ(std::nullopt, String(L"Keep", L"Mine"));
    EXPECT_EQ(L"b", String(L"Keep", L"Theirs"));
    EXPECT_EQ(L"default", String(L"Keep"));
}

TEST_F(RegistryScriptApplier, DwordValuesAreWrittenAsDwords) {
    ASSERT_EQ(S_OK, Apply(L"HKCR { K { val N = d 0x20191 } }", RegistryScriptMode::Register));
    DWORD value = 0;
    DWORD size = sizeof(value);
    DWORD type = 0;
    ASSERT_EQ(ERROR_SUCCESS, ::RegGetValueW(root_.get(), L"K", L"N", RRF_RT_ANY, &type, &value, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(131473u, value);
}

}  // namespace
}  // namespace kv
