#include "control/module/registry_script_replacement.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

RegistryReplacements Sample() {
    RegistryReplacements replacements;
    replacements.Add(L"APPID", L"{A}");
    replacements.Add(L"Module", L"C:\\m.ocx");
    return replacements;
}

TEST(RegistryScriptReplacement, NamesMatchWithoutRegardToCase) {
    std::wstring out;
    ASSERT_EQ(S_OK, ExpandRegistryScript(L"'%appid%' %AppId% %MODULE%", Sample(), out));
    EXPECT_EQ(L"'{A}' {A} C:\\m.ocx", out);
}

TEST(RegistryScriptReplacement, LaterAddReplacesTheValue) {
    RegistryReplacements replacements = Sample();
    replacements.Add(L"appID", L"{B}");
    std::wstring out;
    ASSERT_EQ(S_OK, ExpandRegistryScript(L"%APPID%", replacements, out));
    EXPECT_EQ(L"{B}", out);
}

TEST(RegistryScriptReplacement, DoublePercentIsOnePercent) {
    std::wstring out;
    ASSERT_EQ(S_OK, ExpandRegistryScript(L"100%% of %APPID%%%", Sample(), out));
    EXPECT_EQ(L"100% of {A}%", out);
}

TEST(RegistryScriptReplacement, UnknownNameFails) {
    std::wstring out = L"stale";
    EXPECT_EQ(DISP_E_EXCEPTION, ExpandRegistryScript(L"x %OLEMISC% y", Sample(), out));
    EXPECT_TRUE(out.empty());
}

TEST(RegistryScriptReplacement, UnclosedPercentFails) {
    std::wstring out;
    EXPECT_EQ(DISP_E_EXCEPTION, ExpandRegistryScript(L"'%APPID'", Sample(), out));
}

TEST(RegistryScriptReplacement, QuotesAreDoubled) {
    EXPECT_EQ(L"it''s ''q''", QuoteForRegistryScript(L"it's 'q'"));
    EXPECT_EQ(L"", QuoteForRegistryScript(L""));
}

TEST(RegistryScriptReplacement, ModulePathUpTo259CharactersIsTaken) {
    const std::wstring path = L"C:\\it's\\" + std::wstring(259 - 8, L'a');
    ASSERT_EQ(259u, path.size());
    std::wstring out;
    ASSERT_EQ(S_OK, ModulePathReplacement(path, out));
    EXPECT_EQ(L"C:\\it''s\\" + std::wstring(259 - 8, L'a'), out);
}

TEST(RegistryScriptReplacement, LongerModulePathFails) {
    std::wstring out = L"stale";
    EXPECT_EQ(static_cast<HRESULT>(0x8007007A), ModulePathReplacement(std::wstring(260, L'a'), out));
    EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace kv
