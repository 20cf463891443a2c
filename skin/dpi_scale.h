// The arithmetic of drawing a skin on a screen of any resolution: a skin is designed in pixels
// of a 96 dpi screen, and at N dpi every length is N/96 times as long, as in a browser that
// scales its pages to the screen.
#pragma once

#include <windows.h>

#include <string>

namespace kv {

constexpr int kDesignDpi = 96;

// `length` design pixels at `dpi`, rounded to the nearest pixel (halves away from zero).
// At 96 dpi (or any dpi that is not positive) the length itself.
int ScaleToDpi(int length, int dpi) noexcept;
// Each edge scaled on its own, so that rectangles that touch at 96 dpi still touch and a
// width is its scaled width give or take a pixel.
RECT ScaleRectToDpi(const RECT& rect, int dpi) noexcept;
SIZE ScaleSizeToDpi(SIZE size, int dpi) noexcept;

// Which of a picture's two files is drawn at `dpi`: the double-size one (NAME@2x.jpg) from
// 144 dpi up when the skin has it, scaled down below 192 dpi and up above; the plain one
// otherwise.
bool UsesDoubleSizePicture(int dpi, bool doubleSizeExists) noexcept;
// "bk_main.jpg" -> "bk_main@2x.jpg": "@2x" before the last dot, or at the end.
std::string DoubleSizePictureName(const std::string& name);

}  // namespace kv
