#include "skin/picture_file.h"

#include "skin/dpi_scale.h"
#include "skin/pixel_scaler.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace kv {
namespace {

PixelBuffer KeepPart(PixelBuffer pixels, const SIZE* part) {
    if (!part) return pixels;
    return CropPixels(pixels, std::max<LONG>(part->cx, 1), std::max<LONG>(part->cy, 1));
}

}  // namespace

namespace {

// The description of `pixels` as a 32-bit DIB, rows top to bottom.
BITMAPINFO DibInfoOf(const PixelBuffer& pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

unique_hbitmap ScreenBitmapOf(const PixelBuffer& pixels) {
    if (pixels.width <= 0 || pixels.height <= 0) return {};
    const unique_hdc_window screen = unique_hdc_window::get(nullptr);
    unique_hbitmap bitmap(::CreateCompatibleBitmap(screen.get(), pixels.width, pixels.height));
    if (!bitmap) return {};
    const BITMAPINFO info = DibInfoOf(pixels);
    if (::SetDIBits(screen.get(), bitmap.get(), 0, static_cast<UINT>(pixels.height), pixels.pixels.data(),
                    &info, DIB_RGB_COLORS) != pixels.height) {
        return {};
    }
    return bitmap;
}

unique_hbitmap DibBitmapOf(const PixelBuffer& pixels) {
    if (pixels.width <= 0 || pixels.height <= 0) return {};
    const BITMAPINFO info = DibInfoOf(pixels);
    void* bits = nullptr;
    unique_hbitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return {};
    std::memcpy(bits, pixels.pixels.data(), pixels.pixels.size() * sizeof pixels.pixels[0]);
    return bitmap;
}

unique_hbitmap LoadPictureFile(const std::string& path, int* width, int* height, const SIZE* part) {
    const PictureDecoder decoder;
    std::optional<PixelBuffer> pixels = decoder.Decode(path);
    if (!pixels) return {};
    if (width) *width = pixels->width;
    if (height) *height = pixels->height;
    return ScreenBitmapOf(KeepPart(std::move(*pixels), part));
}

DecodedSkinPicture DecodeSkinPicture(const PictureDecoder& decoder, const std::string& path, int dpi,
                                     const SIZE* part) {
    DecodedSkinPicture picture;
    std::optional<PixelBuffer> pixels;
    // Whether the skin has the double-size file shows when it is read.
    if (UsesDoubleSizePicture(dpi, true)) pixels = decoder.Decode(DoubleSizePictureName(path));
    if (pixels) {
        const std::optional<SIZE> plain = decoder.SizeOf(path);
        picture.designSize = plain ? *plain : SIZE{(pixels->width + 1) / 2, (pixels->height + 1) / 2};
    } else {
        pixels = decoder.Decode(path);
        if (!pixels) return picture;
        picture.designSize = {pixels->width, pixels->height};
    }
    const SIZE scaled = ScaleSizeToDpi(picture.designSize, dpi);
    if (scaled.cx != pixels->width || scaled.cy != pixels->height) {
        pixels = ScalePixels(*pixels, scaled.cx, scaled.cy);
    }
    picture.pixels = KeepPart(std::move(*pixels), part);
    return picture;
}

SkinPicture LoadSkinPicture(const PictureDecoder& decoder, const std::string& path, int dpi, const SIZE* part) {
    DecodedSkinPicture decoded = DecodeSkinPicture(decoder, path, dpi, part);
    SkinPicture picture;
    picture.designSize = decoded.designSize;
    if (decoded.pixels) picture.bitmap = ScreenBitmapOf(*decoded.pixels);
    return picture;
}

}  // namespace kv
