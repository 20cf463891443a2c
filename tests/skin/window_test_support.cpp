#include "window_test_support.h"

#include "skin/skin_button.h"

#include <gtest/gtest.h>

namespace {

const char kParentClass[] = "KorvendalSkinTestParent";

void RegisterParentClass(WNDPROC proc) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = kParentClass;
    ::RegisterClassA(&wc);  // fails harmlessly for the second parent of a program
}

// A top-down 32-bit DIB section of the given size, selected into its own memory DC.
struct Canvas {
    Canvas(int width, int height) : width(width), height(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        dc.reset(::CreateCompatibleDC(nullptr));
        selected = ::SelectObject(dc.get(), bitmap.get());
    }
    ~Canvas() { ::SelectObject(dc.get(), selected); }
    Pixels Read() const {
        ::GdiFlush();
        Pixels pixels;
        pixels.width = width;
        pixels.height = height;
        const auto* raw = static_cast<const uint32_t*>(bits);
        for (int i = 0; i < width * height; ++i) {
            pixels.colors.push_back(RGB((raw[i] >> 16) & 0xFF, (raw[i] >> 8) & 0xFF, raw[i] & 0xFF));
        }
        return pixels;
    }

    int width;
    int height;
    void* bits = nullptr;
    kv::unique_hbitmap bitmap;
    kv::unique_hdc dc;
    HGDIOBJ selected = nullptr;
};

SIZE ClientSize(HWND window) {
    RECT client;
    ::GetClientRect(window, &client);
    return {client.right, client.bottom};
}

}  // namespace

TestParent::TestParent() {
    RegisterParentClass(Proc);
    window_.reset(::CreateWindowExA(WS_EX_TOPMOST, kParentClass, "", WS_POPUP | WS_VISIBLE, 200,
                                    150, 400, 200, nullptr, nullptr, ::GetModuleHandleA(nullptr),
                                    this));
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
    if (!self) return ::DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client;
        ::GetClientRect(window, &client);
        const kv::unique_hbrush brush(::CreateSolidBrush(kBackground));
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, brush.get());
        return 1;
    }
    case WM_CTLCOLORSTATIC:
        ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        ::SetTextColor(reinterpret_cast<HDC>(wParam), kTextColor);
        return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (self->button && item->hwndItem == self->button->handle()) self->button->PaintFace(*item);
        return TRUE;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) ++self->clicks;
        return 0;
    case WM_NCDESTROY:
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

void PumpMessages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

bool PumpUntil(const std::function<bool()>& done, int rounds) {
    for (int i = 0; i < rounds; ++i) {
        PumpMessages();
        if (done()) return true;
        ::Sleep(10);
    }
    PumpMessages();
    return done();
}

Pixels ReadScreenPixels(HWND window) {
    ::UpdateWindow(window);
    const SIZE size = ClientSize(window);
    Canvas canvas(size.cx, size.cy);
    const kv::unique_hdc_window screen = kv::unique_hdc_window::get(window);
    ::BitBlt(canvas.dc.get(), 0, 0, size.cx, size.cy, screen.get(), 0, 0, SRCCOPY);
    return canvas.Read();
}

Pixels PrintClientPixels(HWND window) {
    const SIZE size = ClientSize(window);
    Canvas canvas(size.cx, size.cy);
    ::SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc.get()), PRF_CLIENT);
    return canvas.Read();
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
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof input);
}
