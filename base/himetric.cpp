#include "base/himetric.h"

#include "base/unique_resource.h"

namespace kv {

PixelsPerInch PixelsPerInchOf(HDC dc) noexcept {
    PixelsPerInch ppi;
    if (!dc) return ppi;
    const int x = ::GetDeviceCaps(dc, LOGPIXELSX);
    const int y = ::GetDeviceCaps(dc, LOGPIXELSY);
    if (x > 0) ppi.x = x;
    if (y > 0) ppi.y = y;
    return ppi;
}

PixelsPerInch PixelsPerInchOfWindow(HWND window) noexcept {
    if (!window) {
        const unique_hdc_window screen = unique_hdc_window::get(nullptr);
        return PixelsPerInchOf(screen.get());
    }
    const unique_hdc_window whole(window, ::GetWindowDC(window));
    return PixelsPerInchOf(whole.get());
}

}  // namespace kv
