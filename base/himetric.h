// HIMETRIC (hundredths of a millimetre, 2540 to the inch) and device pixels: the one place
// where OLE extents and picture sizes meet the pixels of a screen or window.
#pragma once

#include <windows.h>

namespace kv {

constexpr int kHimetricPerInch = 2540;

// Logical pixels per inch of a device context, across and down.
struct PixelsPerInch {
    int x = 96;
    int y = 96;
};

// Of `dc`; a null `dc` (or one that cannot be asked) counts as the 96 dpi screen.
PixelsPerInch PixelsPerInchOf(HDC dc) noexcept;
// Of the screen, or of the whole-window device context of `window` when one is given.
PixelsPerInch PixelsPerInchOfWindow(HWND window) noexcept;

// Rounded to the nearest whole unit, without intermediate overflow (MulDiv).
inline int HimetricToPixels(LONG himetric, int pixelsPerInch) noexcept {
    return ::MulDiv(himetric, pixelsPerInch, kHimetricPerInch);
}
inline LONG PixelsToHimetric(int pixels, int pixelsPerInch) noexcept {
    return ::MulDiv(pixels, kHimetricPerInch, pixelsPerInch);
}
inline SIZE HimetricToPixels(SIZEL himetric, PixelsPerInch ppi) noexcept {
    return {HimetricToPixels(himetric.cx, ppi.x), HimetricToPixels(himetric.cy, ppi.y)};
}
inline SIZEL PixelsToHimetric(SIZE pixels, PixelsPerInch ppi) noexcept {
    return {PixelsToHimetric(pixels.cx, ppi.x), PixelsToHimetric(pixels.cy, ppi.y)};
}

}  // namespace kv
