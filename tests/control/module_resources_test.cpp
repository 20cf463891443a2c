#include "module_test_support.h"

#include "control/resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace kv {
namespace {

struct ResourceBytes {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

ResourceBytes FindBytes(HMODULE module, const wchar_t* type, const wchar_t* name) {
    // Types are given as numbers (RT_DIALOG is 5, RT_BITMAP 2, RT_MANIFEST 24) or names.
    const HRSRC resource = ::FindResourceW(module, name, type);
    if (!resource) return {};
    return {static_cast<const BYTE*>(::LockResource(::LoadResource(module, resource))),
            ::SizeofResource(module, resource)};
}

class ModuleResources : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(module_) << "Korvendal.ocx not found beside the test program"; }
    test::LoadedControlModule module_;
};

// --- version ----------------------------------------------------------------------------

class VersionInfo {
public:
    explicit VersionInfo(const std::wstring& path) {
        DWORD ignored = 0;
        const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
        data_.resize(size);
        if (size == 0 || !::GetFileVersionInfoW(path.c_str(), 0, size, data_.data())) data_.clear();
    }
    bool empty() const { return data_.empty(); }
    const void* Query(const wchar_t* path, UINT* length = nullptr) const {
        void* value = nullptr;
        UINT size = 0;
        if (!::VerQueryValueW(data_.data(), path, &value, &size)) return nullptr;
        if (length) *length = size;
        return value;
    }
    std::wstring String(const wchar_t* name) const {
        const std::wstring path = std::wstring(L"\\StringFileInfo\\041203b5\\") + name;
        const auto* text = static_cast<const wchar_t*>(Query(path.c_str()));
        return text ? text : L"<missing>";
    }

private:
    std::vector<BYTE> data_;
};

TEST_F(ModuleResources, VersionNamesTheDownloaderInKorean) {
    const VersionInfo info(module_.Path());
    ASSERT_FALSE(info.empty());
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(info.Query(L"\\"));
    ASSERT_NE(nullptr, fixed);
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
    EXPECT_EQ(0x00010007u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00010000u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x00010007u, fixed->dwProductVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VFT_DLL), fixed->dwFileType);

    UINT length = 0;
    const auto* translation = static_cast<const WORD*>(info.Query(L"\\VarFileInfo\\Translation", &length));
    ASSERT_NE(nullptr, translation);
    ASSERT_EQ(4u, length);
    EXPECT_EQ(0x0412, translation[0]);
    EXPECT_EQ(949, translation[1]);

    EXPECT_EQ(L"Downloader", info.String(L"FileDescription"));
    EXPECT_EQ(L"1.0.1.7", info.String(L"FileVersion"));
    EXPECT_EQ(L"1.0.1.7", info.String(L"ProductVersion"));
    EXPECT_EQ(L"Korvendal.ocx", info.String(L"InternalName"));
    EXPECT_EQ(L"Korvendal.ocx", info.String(L"OriginalFilename"));
    EXPECT_EQ(L"Korvendal 다운로더", info.String(L"ProductName"));
}

// --- dialog template 105 ----------------------------------------------------------------

// Reads the parts of a DLGTEMPLATEEX with its items that the control relies on.
class ExtendedDialogReader {
public:
    ExtendedDialogReader(const BYTE* data, DWORD size) : data_(data), size_(size) {}
    template <typename T>
    T Read() {
        T value{};
        if (offset_ + sizeof(T) > size_) {
            overrun_ = true;
            return value;
        }
        std::memcpy(&value, data_ + offset_, sizeof(T));
        offset_ += sizeof(T);
        return value;
    }
    // A name or ordinal: 0xFFFF and a number, or a zero-terminated string.
    std::wstring ReadSz() {
        std::wstring text;
        for (wchar_t c = Read<wchar_t>(); c != 0 && !overrun_; c = Read<wchar_t>()) text.push_back(c);
        return text;
    }
    std::wstring ReadNameOrOrdinal() {
        const WORD first = Read<WORD>();
        if (first == 0) return L"";
        if (first == 0xFFFF) return L"#" + std::to_wstring(Read<WORD>());
        return static_cast<wchar_t>(first) + ReadSz();
    }
    void AlignDword() { offset_ = (offset_ + 3) & ~size_t{3}; }
    bool overrun() const { return overrun_; }
    size_t offset() const { return offset_; }

private:
    const BYTE* data_;
    DWORD size_;
    size_t offset_ = 0;
    bool overrun_ = false;
};

TEST_F(ModuleResources, DialogTemplateIsTheExtendedChildDialog) {
    const ResourceBytes bytes = FindBytes(module_.get(), MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(IDD_INSTALLER));
    ASSERT_NE(nullptr, bytes.data);
    ExtendedDialogReader reader(bytes.data, bytes.size);
    EXPECT_EQ(1, reader.Read<WORD>());       // dlgVer
    EXPECT_EQ(0xFFFF, reader.Read<WORD>());  // signature of an extended template
    EXPECT_EQ(0u, reader.Read<DWORD>());     // helpID
    EXPECT_EQ(static_cast<DWORD>(WS_EX_CONTROLPARENT), reader.Read<DWORD>());
    EXPECT_EQ(0x40000048u, reader.Read<DWORD>());  // WS_CHILD | DS_SETFONT | DS_FIXEDSYS
    EXPECT_EQ(1, reader.Read<WORD>());             // one item
    EXPECT_EQ(0, reader.Read<short>());
    EXPECT_EQ(0, reader.Read<short>());
    EXPECT_EQ(252, reader.Read<short>());
    EXPECT_EQ(191, reader.Read<short>());
    EXPECT_EQ(L"", reader.ReadNameOrOrdinal());  // no menu
    EXPECT_EQ(L"", reader.ReadNameOrOrdinal());  // the standard dialog class
    EXPECT_EQ(L"", reader.ReadSz());             // no title
    EXPECT_EQ(9, reader.Read<WORD>());           // point size
    EXPECT_EQ(0, reader.Read<WORD>());           // weight
    EXPECT_EQ(0, reader.Read<BYTE>());           // italic
    EXPECT_EQ(1, reader.Read<BYTE>());           // DEFAULT_CHARSET
    EXPECT_EQ(L"MS Shell Dlg", reader.ReadSz());

    reader.AlignDword();
    EXPECT_EQ(0u, reader.Read<DWORD>());  // helpID
    EXPECT_EQ(0u, reader.Read<DWORD>());  // exStyle
    EXPECT_EQ(0x5000000Eu, reader.Read<DWORD>());  // WS_CHILD | WS_VISIBLE | SS_BITMAP
    EXPECT_EQ(0, reader.Read<short>());
    EXPECT_EQ(0, reader.Read<short>());
    EXPECT_EQ(20, reader.Read<short>());
    EXPECT_EQ(20, reader.Read<short>());
    EXPECT_EQ(static_cast<DWORD>(IDC_BACKGROUND), reader.Read<DWORD>());
    EXPECT_EQ(L"#130", reader.ReadNameOrOrdinal());  // the predefined Static class
    EXPECT_EQ(L"", reader.ReadNameOrOrdinal());      // empty text
    EXPECT_EQ(0, reader.Read<WORD>());               // no creation data
    EXPECT_FALSE(reader.overrun());
}

// --- strings, picture, manifest, scripts ----------------------------------------------

TEST_F(ModuleResources, StringTableNamesTheProject) {
    wchar_t text[64] = {};
    ASSERT_GT(::LoadStringW(module_.get(), IDS_PROJNAME, text, 64), 0);
    EXPECT_STREQ(L"Korvendal", text);
    ASSERT_GT(::LoadStringW(module_.get(), IDS_PROJNAME_LONG, text, 64), 0);
    EXPECT_STREQ(L"Korvendaler", text);
}

TEST_F(ModuleResources, ToolboxPictureIs16By16With4BitsPerPixel) {
    const ResourceBytes bytes = FindBytes(module_.get(), MAKEINTRESOURCEW(2), MAKEINTRESOURCEW(IDB_INSTALLER));
    ASSERT_NE(nullptr, bytes.data);
    ASSERT_GE(bytes.size, sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    std::memcpy(&header, bytes.data, sizeof(header));
    EXPECT_EQ(16, header.biWidth);
    EXPECT_EQ(16, header.biHeight);
    EXPECT_EQ(4, header.biBitCount);
    const HBITMAP bitmap = static_cast<HBITMAP>(
        ::LoadImageW(module_.get(), MAKEINTRESOURCEW(IDB_INSTALLER), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(nullptr, bitmap);
    BITMAP info = {};
    EXPECT_EQ(static_cast<int>(sizeof(info)), ::GetObjectW(bitmap, sizeof(info), &info));
    EXPECT_EQ(16, info.bmWidth);
    ::DeleteObject(bitmap);
}

TEST_F(ModuleResources, ManifestIsEmptyAssemblyVersion1) {
    const ResourceBytes bytes = FindBytes(module_.get(), MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(2));
    ASSERT_NE(nullptr, bytes.data);
    const std::string text(reinterpret_cast<const char*>(bytes.data), bytes.size);
    EXPECT_NE(std::string::npos, text.find("<assembly"));
    EXPECT_NE(std::string::npos, text.find("manifestVersion=\"1.0\""));
    EXPECT_EQ(std::string::npos, text.find("dependency"));
    EXPECT_EQ(nullptr, ::FindResourceW(module_.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)));
}

// The module carries the scripts byte for byte as the test program embeds the same files.
TEST_F(ModuleResources, RegistryScriptsAreTheShippedFiles) {
    for (const UINT id : {IDR_KORVENDAL_MODULE, IDR_INSTALLER}) {
        const ResourceBytes shipped = FindBytes(module_.get(), L"REGISTRY", MAKEINTRESOURCEW(id));
        const ResourceBytes expected = FindBytes(nullptr, L"REGISTRY", MAKEINTRESOURCEW(id));
        ASSERT_NE(nullptr, shipped.data) << id;
        ASSERT_NE(nullptr, expected.data) << id;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(expected.data), expected.size),
                  std::string(reinterpret_cast<const char*>(shipped.data), shipped.size));
    }
    const ResourceBytes script = FindBytes(module_.get(), L"REGISTRY", MAKEINTRESOURCEW(IDR_INSTALLER));
    const std::string text(reinterpret_cast<const char*>(script.data), script.size);
    EXPECT_EQ(0u, text.find("HKCR\n{\n\tKorvendal.Installer.1 = s 'Installer Class'\n"));
    EXPECT_NE(std::string::npos, text.find("'1' = s '%OLEMISC%'"));
}

}  // namespace
}  // namespace kv
