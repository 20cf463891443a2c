// Smooth scaling of a picture to any size, over its pixels: every source pixel that a
// target pixel covers counts by the share it covers (an area average) where the picture
// shrinks, and the four nearest source pixels by their distance (bilinear) where it grows.
// The two directions are scaled one after the other, each its own way.
#pragma once

#include "skin/pixel_buffer.h"

namespace kv {

// `source` scaled to `width` x `height` (each at least 1); the same pixels when the size is
// the source's own. An empty source gives an empty buffer.
PixelBuffer ScalePixels(const PixelBuffer& source, int width, int height);
// The top-left part of at most `width` x `height` of `source`.
PixelBuffer CropPixels(const PixelBuffer& source, int width, int height);

}  // namespace kv
