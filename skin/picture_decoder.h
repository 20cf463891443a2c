// Reads picture files (JPEG, and whatever else Windows Imaging Component reads) into pixels.
// One decoder serves a whole skin: its imaging factory is made once.
#pragma once

#include "base/com_ptr.h"
#include "skin/pixel_buffer.h"

#include <wincodec.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kv {

class PictureDecoder {
public:
    // The bytes of the file at a path when they are at hand already (a skin just unpacked),
    // else null and the file is read.
    using KnownBytes = std::function<const std::vector<BYTE>*(const std::string& path)>;

    // Needs COM on the calling thread; without a factory every picture reads as none.
    explicit PictureDecoder(KnownBytes known = {});

    // The picture at `path` (relative to the current folder or absolute; ANSI code page),
    // or none when it cannot be read.
    std::optional<PixelBuffer> Decode(const std::string& path) const;
    // Only its pixel size, from the file's header.
    std::optional<SIZE> SizeOf(const std::string& path) const;

private:
    // The file's bytes stay in `bytes`, or where `known_` keeps them, while the frame is read
    // from them.
    ComPtr<IWICBitmapFrameDecode> FirstFrame(const std::string& path, std::vector<BYTE>& bytes) const;

    KnownBytes known_;
    ComPtr<IWICImagingFactory> factory_;
    // The class factory of each format's decoder, fetched on first use: making a decoder
    // through CoCreateInstance looks its class up every time.
    mutable std::array<ComPtr<IClassFactory>, 4> decoderClasses_;
};

}  // namespace kv
