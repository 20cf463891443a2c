#include "skin/progress_bands.h"

namespace kv {
namespace {

float BandStep(int width) { return static_cast<float>(width) / kProgressBandCount; }

}  // namespace

int ProgressBandRight(int band, int width) {
    if (band >= kProgressBandCount - 1) return width;
    return static_cast<int>(static_cast<float>(band + 1) * BandStep(width));
}

int ProgressFilledWidth(int position, int lower, int upper, int width) {
    if (position <= lower || position > upper) return 0;
    // Single precision, as the bar has always measured it.
    const float share = static_cast<float>(position) / static_cast<float>(upper);
    const int length = static_cast<int>(share * static_cast<float>(width));
    for (int band = 0; band < kProgressBandCount; ++band) {
        const int right = ProgressBandRight(band, width);
        if (right > length && right < width) return right;
    }
    return width;
}

}  // namespace kv
