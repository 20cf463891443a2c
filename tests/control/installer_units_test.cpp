// Functions of the control object over plain values: the error description, the error
// object it lands in, and the dialog template reader.
#include "installer_test_support.h"

#include "control/object/dialog_template.h"
#include "control/object/error_report.h"
#include "control/resource.h"

#include <cstring>

namespace {

// Builds template bytes the way the resource compiler lays them out.
class TemplateBytes {
public:
    TemplateBytes& Word(WORD value) { return Raw(&value, sizeof value); }
    TemplateBytes& Dword(DWORD value) { return Raw(&value, sizeof value); }
    TemplateBytes& Byte(BYTE value) { return Raw(&value, sizeof value); }
    TemplateBytes& Text(const wchar_t* text) {
        return Raw(text, (std::wcslen(text) + 1) * sizeof(wchar_t));
    }
    const std::vector<BYTE>& bytes() const { return bytes_; }

private:
    TemplateBytes& Raw(const void* data, size_t size) {
        const BYTE* p = static_cast<const BYTE*>(data);
        bytes_.insert(bytes_.end(), p, p + size);
        return *this;
    }
    std::vector<BYTE> bytes_;
};

TemplateBytes ExtendedTemplate(DWORD style) {
    TemplateBytes t;
    t.Word(1).Word(0xFFFF).Dword(0).Dword(WS_EX_CONTROLPARENT).Dword(style).Word(0);
    t.Word(0).Word(0).Word(252).Word(191);
    t.Word(0xFFFF).Word(7);      // menu by ordinal
    t.Text(L"SomeClass");        // class by name
    t.Text(L"제목");             // title
    return t;
}

}  // namespace

TEST(ErrorDescription, AppendsTheCodeAsASignedNumber) {
    EXPECT_EQ("Not Found(404)", FormatErrorDescription(404, "Not Found"));
    EXPECT_EQ("(-2147467259)", FormatErrorDescription(static_cast<int32_t>(E_FAIL), ""));
    EXPECT_EQ("x(-1)", FormatErrorDescription(-1, "x"));
    EXPECT_EQ("x(0)", FormatErrorDescription(0, "x"));
}

TEST(ReportError, SetsOnlyTheDescriptionInTheSystemCodePage) {
    ASSERT_EQ(949u, ::GetACP());
    ::SetErrorInfo(0, nullptr);
    EXPECT_EQ(E_FAIL, ReportError(404, "Not Found - 문서를 찾을 수 없습니다."));
    kv::ComPtr<IErrorInfo> info;
    ASSERT_EQ(S_OK, ::GetErrorInfo(0, info.put()));
    kv::UniqueBstr description, source, help;
    info->GetDescription(description.put());
    EXPECT_EQ(L"Not Found - 문서를 찾을 수 없습니다.(404)", description.str());
    info->GetSource(source.put());
    EXPECT_EQ(L"", source.str());
    GUID guid = CLSID_Installer;
    info->GetGUID(&guid);
    EXPECT_TRUE(guid == GUID_NULL);
    info->GetHelpFile(help.put());
    EXPECT_EQ(L"", help.str());
    // Whatever the code, the caller's result is E_FAIL.
    EXPECT_EQ(E_FAIL, ReportError(static_cast<int32_t>(E_INVALIDARG), "x"));
    EXPECT_EQ(L"x(-2147024809)", TakeErrorDescription());
}

TEST(DialogTemplate, ReadsSizeAndFontOfAnExtendedTemplate) {
    const auto t = ExtendedTemplate(WS_CHILD | DS_SETFONT | DS_FIXEDSYS)
                       .Word(9).Word(400).Byte(1).Byte(129).Text(L"MS Shell Dlg");
    const auto info = ParseDialogTemplate(t.bytes().data(), t.bytes().size());
    ASSERT_TRUE(info);
    EXPECT_EQ(252, info->width);
    EXPECT_EQ(191, info->height);
    EXPECT_TRUE(info->hasFont);
    EXPECT_EQ(9, info->pointSize);
    EXPECT_EQ(400, info->weight);
    EXPECT_TRUE(info->italic);
    EXPECT_EQ(129, info->charset);
    EXPECT_EQ(L"MS Shell Dlg", info->faceName);
}

TEST(DialogTemplate, ReadsAClassicTemplateAndOneWithoutFont) {
    TemplateBytes classic;
    classic.Dword(WS_CHILD | DS_SETFONT).Dword(0).Word(0).Word(0).Word(0).Word(100).Word(50);
    classic.Word(0).Word(0).Text(L"").Word(8).Text(L"Tahoma");
    auto info = ParseDialogTemplate(classic.bytes().data(), classic.bytes().size());
    ASSERT_TRUE(info);
    EXPECT_EQ(100, info->width);
    EXPECT_EQ(50, info->height);
    EXPECT_EQ(8, info->pointSize);
    EXPECT_EQ(L"Tahoma", info->faceName);

    const auto plain = ExtendedTemplate(WS_CHILD);
    info = ParseDialogTemplate(plain.bytes().data(), plain.bytes().size());
    ASSERT_TRUE(info);
    EXPECT_FALSE(info->hasFont);
    EXPECT_EQ(252, info->width);
}

TEST(DialogTemplate, RefusesTruncatedBytes) {
    const auto t = ExtendedTemplate(WS_CHILD | DS_SETFONT).Word(9).Word(0).Byte(0).Byte(1)
                       .Text(L"MS Shell Dlg");
    for (size_t cut : {size_t{0}, size_t{3}, size_t{20}, t.bytes().size() - 2}) {
        EXPECT_FALSE(ParseDialogTemplate(t.bytes().data(), cut)) << cut;
    }
    EXPECT_FALSE(ParseDialogTemplate(nullptr, 100));
}

TEST(DialogTemplate, TheModulesTemplateIs252By191InMsShellDlg) {
    HMODULE module = InstallerModule::Get().handle();
    ASSERT_NE(nullptr, module);
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(IDD_INSTALLER), RT_DIALOG);
    ASSERT_NE(nullptr, found);
    const void* bytes = ::LockResource(::LoadResource(module, found));
    const auto info = ParseDialogTemplate(bytes, ::SizeofResource(module, found));
    ASSERT_TRUE(info);
    EXPECT_EQ(252, info->width);
    EXPECT_EQ(191, info->height);
    EXPECT_TRUE(info->hasFont);
    EXPECT_EQ(9, info->pointSize);
    EXPECT_EQ(L"MS Shell Dlg", info->faceName);
}
