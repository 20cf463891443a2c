#include "control/object/dialog_template.h"

#include "base/himetric.h"
#include "base/unique_resource.h"

#include <cstring>

namespace {

// Walks the template's bytes; every read fails softly past the end.
class TemplateReader {
public:
    TemplateReader(const BYTE* data, size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }

    template <typename T>
    T Read() {
        T value{};
        if (!ok_ || size_ - offset_ < sizeof(T)) {
            ok_ = false;
            return value;
        }
        std::memcpy(&value, data_ + offset_, sizeof(T));
        offset_ += sizeof(T);
        return value;
    }

    std::wstring ReadString() {
        std::wstring text;
        for (WCHAR c = Read<WCHAR>(); ok_ && c != 0; c = Read<WCHAR>()) text.push_back(c);
        return text;
    }

    // A menu or class field: 0x0000 (none), 0xFFFF and an ordinal, or a string.
    void SkipNameOrOrdinal() {
        const WORD first = Read<WORD>();
        if (first == 0xFFFF) {
            Read<WORD>();
        } else if (first != 0) {
            ReadString();
        }
    }

    // Strings and the font record are WORD aligned relative to the template's start.
    void AlignWord() { offset_ = (offset_ + 1) & ~size_t{1}; }

private:
    const BYTE* data_;
    size_t size_;
    size_t offset_ = 0;
    bool ok_ = true;
};

}  // namespace

std::optional<DialogTemplateInfo> ParseDialogTemplate(const void* data, size_t size) {
    if (!data) return std::nullopt;
    TemplateReader reader(static_cast<const BYTE*>(data), size);
    DialogTemplateInfo info;
    const WORD version = reader.Read<WORD>();
    const WORD signature = reader.Read<WORD>();
    const bool extended = version == 1 && signature == 0xFFFF;
    DWORD style = 0;
    if (extended) {
        reader.Read<DWORD>();  // help id
        reader.Read<DWORD>();  // extended style
        style = reader.Read<DWORD>();
    } else {
        style = MAKELONG(version, signature);
        reader.Read<DWORD>();  // extended style
    }
    reader.Read<WORD>();  // number of controls
    reader.Read<short>();  // x
    reader.Read<short>();  // y
    info.width = reader.Read<short>();
    info.height = reader.Read<short>();
    reader.SkipNameOrOrdinal();  // menu
    reader.SkipNameOrOrdinal();  // window class
    reader.ReadString();         // title
    if (style & DS_SETFONT) {
        info.hasFont = true;
        info.pointSize = reader.Read<WORD>();
        if (extended) {
            info.weight = reader.Read<WORD>();
            info.italic = reader.Read<BYTE>() != 0;
            info.charset = reader.Read<BYTE>();
        }
        info.faceName = reader.ReadString();
    }
    if (!reader.ok()) return std::nullopt;
    return info;
}

SIZE DialogUnitsToPixels(const DialogTemplateInfo& info, int width, int height, int dpi) {
    kv::unique_hdc_window screen = kv::unique_hdc_window::get(nullptr);
    if (!screen) return {0, 0};
    HDC dc = screen.get();
    kv::unique_gdiobj font;
    if (info.hasFont) {
        const int pixelHeight = -::MulDiv(info.pointSize, dpi, 72);
        font.reset(::CreateFontW(pixelHeight, 0, 0, 0, info.weight, info.italic, FALSE, FALSE,
                                 info.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                 info.faceName.c_str()));
    }
    int baseX = 0;
    int baseY = 0;
    if (font) {
        kv::unique_select_object selected(dc, font.get());
        // The dialog manager's average character width: the 52 Latin letters, rounded.
        static const wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        SIZE extent{};
        TEXTMETRICW metrics{};
        if (::GetTextExtentPoint32W(dc, kLetters, 52, &extent) && ::GetTextMetricsW(dc, &metrics)) {
            baseX = (extent.cx / 26 + 1) / 2;
            baseY = metrics.tmHeight;
        }
    }
    if (baseX == 0 || baseY == 0) {
        // The system's base units belong to the screen's own resolution.
        const LONG units = ::GetDialogBaseUnits();
        const int screenDpi = ::GetDeviceCaps(dc, LOGPIXELSY);
        baseX = ::MulDiv(LOWORD(units), dpi, screenDpi > 0 ? screenDpi : dpi);
        baseY = ::MulDiv(HIWORD(units), dpi, screenDpi > 0 ? screenDpi : dpi);
    }
    return {::MulDiv(width, baseX, 4), ::MulDiv(height, baseY, 8)};
}

SIZEL DefaultExtentFromTemplate(HMODULE module, int id) {
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), RT_DIALOG);
    if (!found) return {0, 0};
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    const auto info = ParseDialogTemplate(bytes, ::SizeofResource(module, found));
    if (!info) return {0, 0};
    constexpr int kDesignDpi = 96;
    return kv::PixelsToHimetric(DialogUnitsToPixels(*info, info->width, info->height, kDesignDpi),
                                kv::PixelsPerInch{kDesignDpi, kDesignDpi});
}
