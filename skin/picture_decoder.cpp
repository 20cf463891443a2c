#include "skin/picture_decoder.h"

#include "base/codepage.h"

#include <new>

namespace kv {

PictureDecoder::PictureDecoder() {
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, factory_.put_void()))) {
        factory_.reset();
    }
}

ComPtr<IWICBitmapFrameDecode> PictureDecoder::FirstFrame(const std::string& path) const {
    ComPtr<IWICBitmapFrameDecode> frame;
    if (!factory_) return frame;
    const std::wstring name = AnsiToWide(path);
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory_->CreateDecoderFromFilename(name.c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put()))) {
        frame.reset();
    }
    return frame;
}

std::optional<SIZE> PictureDecoder::SizeOf(const std::string& path) const {
    const ComPtr<IWICBitmapFrameDecode> frame = FirstFrame(path);
    UINT width = 0;
    UINT height = 0;
    if (!frame || FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0) return std::nullopt;
    return SIZE{static_cast<LONG>(width), static_cast<LONG>(height)};
}

std::optional<PixelBuffer> PictureDecoder::Decode(const std::string& path) const {
    const ComPtr<IWICBitmapFrameDecode> frame = FirstFrame(path);
    if (!frame) return std::nullopt;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory_->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                     nullptr, 0.0, WICBitmapPaletteTypeCustom))) {
        return std::nullopt;
    }
    UINT width = 0;
    UINT height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0) return std::nullopt;
    // A picture whose pixels do not fit in memory is as unreadable as a broken one.
    constexpr unsigned long long kMostPixels = 1ull << 25;
    if (static_cast<unsigned long long>(width) * height > kMostPixels) return std::nullopt;
    try {
        PixelBuffer pixels(static_cast<int>(width), static_cast<int>(height));
        const UINT stride = width * 4;
        if (FAILED(converter->CopyPixels(nullptr, stride, stride * height,
                                         reinterpret_cast<BYTE*>(pixels.pixels.data())))) {
            return std::nullopt;
        }
        return pixels;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace kv
