#include "control/module/registry_script_parser.h"
#include "control/module/registry_script_replacement.h"
#include "control/resource.h"
#include "registry_script_test_support.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::Flatten;
using Lines = std::vector<std::wstring>;

const wchar_t kAppId[] = L"{CF7DB100-A536-4B12-AA19-68C3F52245BE}";
const wchar_t kClsid[] = L"{D0D05CAA-80C0-455A-B5C8-6433218CBA29}";

RegistryScriptParse ParseShipped(unsigned resourceId, const std::wstring& modulePath) {
    RegistryReplacements replacements;
    replacements.Add(L"APPID", kAppId);
    replacements.Add(L"OLEMISC", L"131473");
    std::wstring module;
    EXPECT_EQ(S_OK, ModulePathReplacement(modulePath, module));
    replacements.Add(L"MODULE", module);
    const std::wstring text = test::ShippedScript(resourceId);
    EXPECT_FALSE(text.empty());
    std::wstring expanded;
    EXPECT_EQ(S_OK, ExpandRegistryScript(text, replacements, expanded));
    return ParseRegistryScript(expanded);
}

TEST(RegistryScriptParser, ModuleScriptGivesTheAppIdKeys) {
    const auto parsed = ParseShipped(IDR_KORVENDAL_MODULE, L"C:\\x.ocx");
    ASSERT_TRUE(parsed.ok) << std::string(parsed.error.begin(), parsed.error.end());
    const std::wstring appId = kAppId;
    EXPECT_EQ(Flatten(parsed.script), (Lines{
        L"HKCR",
        L"HKCR\\AppID [NoRemove]",
        L"HKCR\\AppID\\" + appId + L" = s 'Korvendal'",
        L"HKCR\\AppID\\Korvendal.DLL",
        L"HKCR\\AppID\\Korvendal.DLL val AppID = s '" + appId + L"'",
    }));
}

// The module path holds a quote and a blank: the doubled quote must come out as one quote
// inside the value, and the blank must not split anything.
TEST(RegistryScriptParser, ClassScriptGivesTheClassKeys) {
    const std::wstring module = L"C:\\Program Files\\it's here\\Korvendal.ocx";
    const auto parsed = ParseShipped(IDR_INSTALLER, module);
    ASSERT_TRUE(parsed.ok) << std::string(parsed.error.begin(), parsed.error.end());
    const std::wstring appId = kAppId;
    const std::wstring clsid = kClsid;
    const std::wstring key = L"HKCR\\CLSID\\" + clsid;
    EXPECT_EQ(Flatten(parsed.script), (Lines{
        L"HKCR",
        L"HKCR\\Korvendal.Installer.1 = s 'Installer Class'",
        L"HKCR\\Korvendal.Installer.1\\CLSID = s '" + clsid + L"'",
        L"HKCR\\Korvendal.Installer = s 'Installer Class'",
        L"HKCR\\Korvendal.Installer\\CLSID = s '" + clsid + L"'",
        L"HKCR\\Korvendal.Installer\\CurVer = s 'Korvendal.Installer.1'",
        L"HKCR\\CLSID [NoRemove]",
        key + L" [ForceRemove] = s 'Installer Class'",
        key + L" val AppID = s '" + appId + L"'",
        key + L"\\ProgID = s 'Korvendal.Installer.1'",
        key + L"\\VersionIndependentProgID = s 'Korvendal.Installer'",
        key + L"\\Programmable [ForceRemove]",
        key + L"\\InprocServer32 = s '" + module + L"'",
        key + L"\\InprocServer32 val ThreadingModel = s 'Apartment'",
        key + L"\\Control [ForceRemove]",
        key + L"\\ToolboxBitmap32 [ForceRemove] = s '" + module + L", 103'",
        key + L"\\MiscStatus = s '0'",
        key + L"\\MiscStatus\\1 = s '131473'",
        key + L"\\TypeLib = s '{80E7FB26-1F4E-4854-830E-82A232056E0E}'",
        key + L"\\Version = s '1.0'",
    }));
}

TEST(RegistryScriptParser, KeywordsRootsAndTypesIgnoreCase) {
    const auto parsed = ParseRegistryScript(
        L"hkey_classes_root { noremove A { FORCEREMOVE B = S 'x' VAL n = D 0x1F } }\n"
        L"HKCU { C = d 42 }");
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(Flatten(parsed.script), (Lines{
        L"HKCR",
        L"HKCR\\A [NoRemove]",
        L"HKCR\\A val n = d 31",
        L"HKCR\\A\\B [ForceRemove] = s 'x'",
        L"HKCU",
        L"HKCU\\C = d 42",
    }));
}

// Quoted words are always names: a quoted keyword, brace or 'val' names a key.
TEST(RegistryScriptParser, QuotedWordsAreNames) {
    const auto parsed = ParseRegistryScript(
        L"HKCR { 'NoRemove' { 'val' = s 'it''s' '{' } 'with blank' = s '' }");
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(Flatten(parsed.script), (Lines{
        L"HKCR",
        L"HKCR\\NoRemove",
        L"HKCR\\NoRemove\\val = s 'it's'",
        L"HKCR\\NoRemove\\{",
        L"HKCR\\with blank = s ''",
    }));
}

TEST(RegistryScriptParser, EmptyScriptHasNoRoots) {
    const auto parsed = ParseRegistryScript(L" \r\n\t ");
    ASSERT_TRUE(parsed.ok);
    EXPECT_TRUE(parsed.script.roots.empty());
}

struct BadScript {
    const char* name;
    const wchar_t* text;
    size_t line;  // where the error is reported
};

void PrintTo(const BadScript& script, std::ostream* out) { *out << script.name; }

class RegistryScriptParserErrors : public ::testing::TestWithParam<BadScript> {};

TEST_P(RegistryScriptParserErrors, AreRejectedWithTheirLine) {
    const auto parsed = ParseRegistryScript(GetParam().text);
    EXPECT_FALSE(parsed.ok);
    EXPECT_FALSE(parsed.error.empty());
    EXPECT_EQ(GetParam().line, parsed.errorLine) << std::string(parsed.error.begin(), parsed.error.end());
    EXPECT_TRUE(parsed.script.roots.empty());
}

INSTANTIATE_TEST_SUITE_P(
    RegistryScriptParser, RegistryScriptParserErrors,
    ::testing::Values(
        BadScript{"UnknownRoot", L"HKXX { A }", 1},
        BadScript{"QuotedRoot", L"'HKCR' { A }", 1},
        BadScript{"RootWithoutBlock", L"HKCR A", 1},
        BadScript{"BlockNeverClosed", L"HKCR\n{\n\tA\n", 2},
        BadScript{"InnerBlockNeverClosed", L"HKCR { A { B }", 1},
        BadScript{"UnterminatedString", L"HKCR { A = s 'open }", 1},
        BadScript{"UnknownValueType", L"HKCR {\n A = x 'y' }", 2},
        BadScript{"TypeWithoutValue", L"HKCR { A = s }", 1},
        BadScript{"EqualsWithoutValue", L"HKCR { A = }", 1},
        BadScript{"NotANumber", L"HKCR { A = d 'ten' }", 1},
        BadScript{"NumberAbove32Bits", L"HKCR { A = d 4294967296 }", 1},
        BadScript{"ValWithoutEquals", L"HKCR { A {\n val N s 'x' } }", 2},
        BadScript{"ValOutsideKey", L"HKCR { val N = s 'x' }", 1},
        BadScript{"FlagWithoutName", L"HKCR { NoRemove } }", 1},
        BadScript{"ValueWithoutKey", L"HKCR { = s 'x' }", 1},
        BadScript{"EmptyKeyName", L"HKCR { '' = s 'x' }", 1}),
    [](const ::testing::TestParamInfo<BadScript>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kv
