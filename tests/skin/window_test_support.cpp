#include "window_test_support.h"

#include "skin/skin_button.h"

#include <gtest/gtest.h>

namespace {

// Draws into a top-down 32-bit DIB of `window`'s client size and reads it back.
Pixels Capture(HWND window, const std::function<void(HDC, const RECT&)>& draw) {
    RECT client;
    ::GetClientRect(window, &client);
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB}};
    void* bits = nullptr;
    const kv::unique_hbitmap dib(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const kv::unique_hdc dc(::CreateCompatibleDC(nullptr));
    {
        const kv::unique_select_object selected(dc.get(), dib.get());
        draw(dc.get(), client);
        ::GdiFlush();
    }
    Pixels pixels;
    pixels.width = client.right;
    const auto* raw = static_cast<const uint32_t*>(bits);
    for (int i = 0; i < client.right * client.bottom; ++i) {
        pixels.colors.push_back(RGB(raw[i] >> 16 & 0xFF, raw[i] >> 8 & 0xFF, raw[i] & 0xFF));
    }
    return pixels;
}

}  // namespace

TestParent::TestParent() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Proc;
    windowClass.lpszClassName = "KorvendalSkinTestParent";
    ::RegisterClassA(&windowClass);  // the second time fails harmlessly
    window_.reset(::CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "",
                                    WS_POPUP | WS_VISIBLE, 200, 150, 400, 200, nullptr, nullptr,
                                    nullptr, this));
    EXPECT_NE(window_.get(), nullptr);
    ::SetForegroundWindow(window_.get());
    ::UpdateWindow(window_.get());
}

LRESULT CALLBACK TestParent::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestParent*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    const auto dc = reinterpret_cast<HDC>(wParam);
    switch (self ? message : 0) {
    case WM_ERASEBKGND: {
        RECT client;
        ::GetClientRect(window, &client);
        const kv::unique_hbrush brush(::CreateSolidBrush(kBackground));
        ::FillRect(dc, &client, brush.get());
        return 1;
    }
    case WM_CTLCOLORSTATIC:
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (self->button && item->hwndItem == self->button->handle()) self->button->PaintFace(*item);
        return TRUE;
    }
    case WM_COMMAND:
        self->clicks += HIWORD(wParam) == BN_CLICKED;
        return 0;
    default:
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

void PumpMessages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

bool PumpUntil(const std::function<bool()>& done, int rounds) {
    for (int i = 0; i < rounds && !done(); ++i) {
        ::Sleep(10);
        PumpMessages();
    }
    return done();
}

Pixels ReadScreenPixels(HWND window) {
    ::UpdateWindow(window);
    return Capture(window, [window](HDC dc, const RECT& client) {
        const kv::unique_hdc_window screen = kv::unique_hdc_window::get(window);
        ::BitBlt(dc, 0, 0, client.right, client.bottom, screen.get(), 0, 0, SRCCOPY);
    });
}

Pixels PrintClientPixels(HWND window) {
    return Capture(window, [window](HDC dc, const RECT&) {
        ::SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    });
}

kv::unique_hbitmap SolidBitmap(int width, int height, COLORREF color) {
    const kv::unique_hdc_window screen = kv::unique_hdc_window::get(nullptr);
    kv::unique_hbitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
    const kv::unique_hdc dc(::CreateCompatibleDC(screen.get()));
    const kv::unique_select_object selected(dc.get(), bitmap.get());
    const kv::unique_hbrush brush(::CreateSolidBrush(color));
    const RECT area = {0, 0, width, height};
    ::FillRect(dc.get(), &area, brush.get());
    return bitmap;
}

void PointAt(HWND window) {
    RECT area;
    ::GetWindowRect(window, &area);
    ::SetCursorPos((area.left + area.right) / 2, (area.top + area.bottom) / 2);
}

void PointAway() { ::SetCursorPos(5, 5); }

void SendLeftButton(bool down) {
    INPUT input = {INPUT_MOUSE};
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof input);
}
