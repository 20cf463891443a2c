#include "skin/pixel_scaler.h"

#include <algorithm>
#include <cmath>

namespace kv {
namespace {

// The source pixels one target pixel is made of along one direction, and their weights
// (summing to 1).
struct Tap {
    int first = 0;
    std::vector<float> weights;
};

std::vector<Tap> TapsFor(int sourceLength, int targetLength) {
    std::vector<Tap> taps(static_cast<size_t>(targetLength));
    const double ratio = static_cast<double>(sourceLength) / targetLength;
    for (int i = 0; i < targetLength; ++i) {
        Tap& tap = taps[static_cast<size_t>(i)];
        if (sourceLength > targetLength) {
            // The target pixel covers [begin, end) of the source.
            const double begin = i * ratio;
            const double end = std::min<double>((i + 1) * ratio, sourceLength);
            tap.first = static_cast<int>(begin);
            for (int s = tap.first; s < end; ++s) {
                const double covered = std::min<double>(s + 1, end) - std::max<double>(s, begin);
                tap.weights.push_back(static_cast<float>(covered / ratio));
            }
        } else {
            // The target pixel's centre, in source pixels whose centres lie at k + 0.5.
            const double centre = std::clamp((i + 0.5) * ratio - 0.5, 0.0, sourceLength - 1.0);
            tap.first = static_cast<int>(centre);
            const float next = static_cast<float>(centre - tap.first);
            tap.weights.push_back(1.0f - next);
            if (tap.first + 1 < sourceLength) tap.weights.push_back(next);
        }
    }
    return taps;
}

uint32_t Mix(const uint32_t* pixels, ptrdiff_t step, const Tap& tap) {
    float sums[4] = {};
    for (size_t k = 0; k < tap.weights.size(); ++k) {
        const uint32_t p = pixels[(tap.first + static_cast<ptrdiff_t>(k)) * step];
        for (int c = 0; c < 4; ++c) sums[c] += tap.weights[k] * static_cast<float>(p >> (8 * c) & 0xFF);
    }
    uint32_t mixed = 0;
    for (int c = 0; c < 4; ++c) {
        const long channel = std::lround(std::clamp(sums[c], 0.0f, 255.0f));
        mixed |= static_cast<uint32_t>(channel) << (8 * c);
    }
    return mixed;
}

PixelBuffer ScaleWidth(const PixelBuffer& source, int width) {
    if (width == source.width) return source;
    PixelBuffer target(width, source.height);
    const std::vector<Tap> taps = TapsFor(source.width, width);
    for (int y = 0; y < source.height; ++y) {
        const uint32_t* row = &source.pixels[static_cast<size_t>(y) * source.width];
        for (int x = 0; x < width; ++x) target.at(x, y) = Mix(row, 1, taps[static_cast<size_t>(x)]);
    }
    return target;
}

PixelBuffer ScaleHeight(const PixelBuffer& source, int height) {
    if (height == source.height) return source;
    PixelBuffer target(source.width, height);
    const std::vector<Tap> taps = TapsFor(source.height, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < source.width; ++x) {
            target.at(x, y) = Mix(&source.pixels[static_cast<size_t>(x)], source.width, taps[static_cast<size_t>(y)]);
        }
    }
    return target;
}

}  // namespace

PixelBuffer ScalePixels(const PixelBuffer& source, int width, int height) {
    if (source.width <= 0 || source.height <= 0) return {};
    width = std::max(width, 1);
    height = std::max(height, 1);
    // The direction that shrinks first, so the second pass has fewer pixels to mix.
    if (static_cast<long long>(width) * source.height <= static_cast<long long>(source.width) * height) {
        return ScaleHeight(ScaleWidth(source, width), height);
    }
    return ScaleWidth(ScaleHeight(source, height), width);
}

PixelBuffer CropPixels(const PixelBuffer& source, int width, int height) {
    width = std::clamp(width, 0, source.width);
    height = std::clamp(height, 0, source.height);
    if (width == source.width && height == source.height) return source;
    PixelBuffer part(width, height);
    for (int y = 0; y < height; ++y) {
        std::copy_n(&source.pixels[static_cast<size_t>(y) * source.width], width,
                    &part.pixels[static_cast<size_t>(y) * width]);
    }
    return part;
}

}  // namespace kv
