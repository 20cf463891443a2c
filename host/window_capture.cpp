#include "host/window_capture.h"

#include <optional>

#include "base/result.h"
#include "base/unique_resource.h"

namespace kv::host {
namespace {

// A memory DC over a top-down 32-bit picture whose bits can be read directly.
class Canvas {
public:
    HRESULT Create(int width, int height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_.reset(::CreateCompatibleDC(nullptr));
        RETURN_LAST_ERROR_IF_NULL(dc_.get());
        bitmap_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        RETURN_LAST_ERROR_IF_NULL(bitmap_.get());
        selected_.emplace(dc_.get(), bitmap_.get());
        return S_OK;
    }
    HDC Dc() const { return dc_.get(); }
    const void* Bits() const { return bits_; }

private:
    unique_hdc dc_;
    unique_gdiobj bitmap_;
    std::optional<unique_select_object> selected_;  // let go of before the bitmap
    void* bits_ = nullptr;
};

// Prints `window` into `dc`, which holds its client area at 0,0 with what lies beneath
// already in place, then each visible child over it, the bottom-most first.
HRESULT PrintWithChildren(HWND window, HDC dc) {
    ::SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_ERASEBKGND | PRF_CLIENT);
    const HWND top = ::GetWindow(window, GW_CHILD);
    for (HWND child = top ? ::GetWindow(top, GW_HWNDLAST) : nullptr; child; child = ::GetWindow(child, GW_HWNDPREV)) {
        if (!(::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;
        RECT client;
        if (!::GetClientRect(child, &client) || client.right <= 0 || client.bottom <= 0) continue;
        POINT origin = {0, 0};
        ::MapWindowPoints(child, window, &origin, 1);
        // A DC of its own per child: Wine's buttons and statics clip everything away in
        // a shared DC whose origin has been moved.
        Canvas canvas;
        RETURN_IF_FAILED(canvas.Create(client.right, client.bottom));
        ::BitBlt(canvas.Dc(), 0, 0, client.right, client.bottom, dc, origin.x, origin.y, SRCCOPY);
        RETURN_IF_FAILED(PrintWithChildren(child, canvas.Dc()));
        ::BitBlt(dc, origin.x, origin.y, client.right, client.bottom, canvas.Dc(), 0, 0, SRCCOPY);
    }
    return S_OK;
}

}  // namespace

HRESULT CaptureWindow(HWND window, WindowPixels& pixels) {
    pixels = WindowPixels{};
    RETURN_HR_IF(E_INVALIDARG, !::IsWindow(window));
    RECT client;
    RETURN_IF_WIN32_BOOL_FALSE(::GetClientRect(window, &client));
    RETURN_HR_IF(E_INVALIDARG, client.right <= 0 || client.bottom <= 0);
    Canvas canvas;
    RETURN_IF_FAILED(canvas.Create(client.right, client.bottom));
    RETURN_IF_FAILED(PrintWithChildren(window, canvas.Dc()));
    ::GdiFlush();
    const auto* bits = static_cast<const std::uint32_t*>(canvas.Bits());
    pixels.width = client.right;
    pixels.height = client.bottom;
    // GDI leaves the fourth byte as it finds it; only colour is kept.
    pixels.rows.resize(static_cast<std::size_t>(pixels.width) * pixels.height);
    for (std::size_t k = 0; k < pixels.rows.size(); ++k) pixels.rows[k] = bits[k] & 0x00FFFFFFu;
    return S_OK;
}

}  // namespace kv::host
