// A window as it is painted, its child windows included, read back into memory. Wine
// prints no children with PrintWindow or WM_PRINT, so each visible child is printed into
// a picture of its own over what lies beneath it and laid back in place.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace kv::host {

struct WindowPixels {
    int width = 0;
    int height = 0;
    // Top row first; each value 0x00RRGGBB (blue in the lowest byte, as GDI stores it).
    std::vector<std::uint32_t> rows;

    COLORREF At(int x, int y) const {
        const std::uint32_t value = rows[static_cast<std::size_t>(y) * width + x];
        return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
    }
};

// The client area of `window`; non-client borders are not printed.
[[nodiscard]] HRESULT CaptureWindow(HWND window, WindowPixels& pixels);

}  // namespace kv::host
