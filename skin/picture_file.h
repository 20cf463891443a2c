// Loading a skin picture (JPEG, or whatever else Windows Imaging Component reads) into a
// screen bitmap: at its own pixel size, or scaled for a screen of any resolution.
#pragma once

#include "base/unique_resource.h"
#include "skin/picture_decoder.h"
#include "skin/pixel_buffer.h"

#include <optional>
#include <string>

namespace kv {

// A new screen bitmap with `pixels`, or none when it cannot be made.
unique_hbitmap ScreenBitmapOf(const PixelBuffer& pixels);

// A new screen bitmap with the picture at `path` (relative to the current folder or
// absolute) at its own pixel size, or none when it cannot be loaded; `width` and `height`
// are then left as they were. With `part`, only the picture's top-left part of at most that
// size is kept, for a picture of which no more can ever be seen; `width` and `height` still
// give the whole picture's size. The caller owns the bitmap.
unique_hbitmap LoadPictureFile(const std::string& path, int* width = nullptr, int* height = nullptr,
                               const SIZE* part = nullptr);

// A new bitmap with `pixels` that needs no screen: a 32-bit DIB section, for pictures this
// program draws itself. Under Wine a screen bitmap looks the screen's format up in the
// registry each time, three calls to the window system's server for every button picture.
unique_hbitmap DibBitmapOf(const PixelBuffer& pixels);

// A skin picture decoded for a screen of `dpi`, before it becomes a bitmap.
struct DecodedSkinPicture {
    std::optional<PixelBuffer> pixels;  // none when neither file can be read
    SIZE designSize{};                  // its size in the skin's 96 dpi pixels
};

// A skin picture drawn for a screen of `dpi`.
struct SkinPicture {
    unique_hbitmap bitmap;  // none when neither file can be read
    SIZE designSize{};      // its size in the skin's 96 dpi pixels
};

// The picture at `path` as a skin shows it at `dpi`: its 96 dpi size scaled by dpi / 96,
// drawn smoothly from the double-size file (NAME@2x.jpg) from 144 dpi up when the skin has
// one, else from the file itself. The design size is the plain file's size, or half the
// double-size one's (rounded up) when only that exists. `part` keeps only the top-left part
// of the scaled picture, as for LoadPictureFile.
SkinPicture LoadSkinPicture(const PictureDecoder& decoder, const std::string& path, int dpi,
                            const SIZE* part = nullptr);
// The same up to the pixels.
DecodedSkinPicture DecodeSkinPicture(const PictureDecoder& decoder, const std::string& path, int dpi,
                                     const SIZE* part = nullptr);

}  // namespace kv
