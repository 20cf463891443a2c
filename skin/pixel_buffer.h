// A picture's pixels in memory: 32 bits each (blue, green, red, unused, as a 32-bpp DIB
// stores them), rows top to bottom without padding.
#pragma once

#include <cstdint>
#include <vector>

namespace kv {

struct PixelBuffer {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // width * height

    PixelBuffer() = default;
    PixelBuffer(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h) {}
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
};

}  // namespace kv
