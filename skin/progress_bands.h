// The arithmetic of the colour progress bar: how far its bands reach for a position. Plain
// numbers, so that it builds without Windows.
#pragma once

namespace kv {

// The bar is drawn in as many bands as the largest channel difference between red (255,0,0)
// and blue (0,0,255): 255, each a 255th of the width.
inline constexpr int kProgressBandCount = 255;

// Right edge of band `band` (0 to kProgressBandCount - 1) on a bar `width` pixels wide. The
// last band always ends at `width`, so no rounding leaves a column of the bar unpainted.
int ProgressBandRight(int band, int width);

// Pixels from the left that the bar fills: 0 unless lower < position <= upper; otherwise the
// right edge of the first band that passes position / upper of the width, or all of it. So
// 50 on a bar of 255 pixels fills 128 and any position inside the range at least one band.
int ProgressFilledWidth(int position, int lower, int upper, int width);

}  // namespace kv
