#include "skin/picture_decoder.h"

#include "base/local_file.h"
#include "base/unique_resource.h"

#include <algorithm>
#include <initializer_list>
#include <new>
#include <utility>

namespace kv {

PictureDecoder::PictureDecoder(KnownBytes known) : known_(std::move(known)) {
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, factory_.put_void()))) {
        factory_.reset();
    }
}

namespace {

// The decoders of the formats a skin is likely to use; their order is that of the class
// factories a decoder keeps.
const CLSID* const kKnownDecoders[] = {&CLSID_WICJpegDecoder, &CLSID_WICPngDecoder, &CLSID_WICBmpDecoder,
                                       &CLSID_WICGifDecoder};

// Which known decoder reads the bytes, by how they start, or -1. Asking the factory to find
// one tries every decoder it knows, which under Wine costs more than decoding a small picture.
int KnownDecoderFor(const std::vector<BYTE>& bytes) {
    const auto startsWith = [&bytes](std::initializer_list<BYTE> magic) {
        return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
    };
    if (startsWith({0xFF, 0xD8, 0xFF})) return 0;
    if (startsWith({0x89, 'P', 'N', 'G'})) return 1;
    if (startsWith({'B', 'M'})) return 2;
    if (startsWith({'G', 'I', 'F', '8'})) return 3;
    return -1;
}

// A picture whose pixels do not fit in memory is as unreadable as a broken one.
bool Fits(UINT width, UINT height) {
    constexpr unsigned long long kMostPixels = 1ull << 25;
    return width > 0 && height > 0 && static_cast<unsigned long long>(width) * height <= kMostPixels;
}

// A JPEG's frame, 24-bit blue-green-red, widened here to the buffer's 32 bits (the fourth
// byte, which no drawing reads, set). Under Wine making and preparing a converter looks
// the pixel formats up in the registry: four calls to the server for every picture.
std::optional<PixelBuffer> Widened(IWICBitmapSource& frame) {
    UINT width = 0;
    UINT height = 0;
    if (FAILED(frame.GetSize(&width, &height)) || !Fits(width, height)) return std::nullopt;
    try {
        const UINT stride = width * 3;
        std::vector<BYTE> rows(static_cast<size_t>(stride) * height);
        if (FAILED(frame.CopyPixels(nullptr, stride, static_cast<UINT>(rows.size()), rows.data())))
            return std::nullopt;
        PixelBuffer pixels(static_cast<int>(width), static_cast<int>(height));
        const BYTE* from = rows.data();
        for (uint32_t& pixel : pixels.pixels) {
            pixel = 0xFF000000u | static_cast<uint32_t>(from[2]) << 16 | static_cast<uint32_t>(from[1]) << 8 | from[0];
            from += 3;
        }
        return pixels;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace

ComPtr<IWICBitmapFrameDecode> PictureDecoder::FirstFrame(const std::string& path, std::vector<BYTE>& bytes) const {
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICStream> stream;
    if (!factory_) return frame;
    // Skin pictures are small, and reading them at once spares the decoder a file of its own.
    constexpr uint64_t kLargest = 256ull << 20;
    const std::vector<BYTE>* data = known_ ? known_(path) : nullptr;
    if (!data) {
        if (!ReadWholeFile(path, kLargest, bytes)) return frame;
        data = &bytes;
    }
    if (data->empty() || FAILED(factory_->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data->data()), static_cast<DWORD>(data->size())))) {
        return frame;
    }
    ComPtr<IWICBitmapDecoder> decoder;
    HRESULT hr = E_FAIL;
    const int known = KnownDecoderFor(*data);
    if (known >= 0) {
        ComPtr<IClassFactory>& decoderClass = decoderClasses_[static_cast<size_t>(known)];
        if (!decoderClass) {
            hr = ::CoGetClassObject(*kKnownDecoders[known], CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                    decoderClass.put_void());
        }
        if (decoderClass) hr = decoderClass->CreateInstance(nullptr, IID_IWICBitmapDecoder, decoder.put_void());
        if (SUCCEEDED(hr)) hr = decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand);
    }
    if (FAILED(hr)) {
        stream->Seek({}, STREAM_SEEK_SET, nullptr);
        hr = factory_->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put());
    }
    if (FAILED(hr) || FAILED(decoder->GetFrame(0, frame.put()))) frame.reset();
    return frame;
}

std::optional<SIZE> PictureDecoder::SizeOf(const std::string& path) const {
    std::vector<BYTE> bytes;
    const ComPtr<IWICBitmapFrameDecode> frame = FirstFrame(path, bytes);
    UINT width = 0;
    UINT height = 0;
    if (!frame || FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0) return std::nullopt;
    return SIZE{static_cast<LONG>(width), static_cast<LONG>(height)};
}

std::optional<PixelBuffer> PictureDecoder::Decode(const std::string& path) const {
    std::vector<BYTE> bytes;
    const ComPtr<IWICBitmapFrameDecode> frame = FirstFrame(path, bytes);
    if (!frame) return std::nullopt;
    WICPixelFormatGUID format{};
    if (SUCCEEDED(frame->GetPixelFormat(&format)) && IsEqualGUID(format, GUID_WICPixelFormat24bppBGR))
        return Widened(*frame.get());
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory_->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                     nullptr, 0.0, WICBitmapPaletteTypeCustom))) {
        return std::nullopt;
    }
    UINT width = 0;
    UINT height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || !Fits(width, height)) return std::nullopt;
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
