// A window read back as it is painted: its own background, then its visible children in
// their stacking order, grandchildren included, hidden ones left out.
#include "host/window_capture.h"

#include <gtest/gtest.h>

#include "base/unique_resource.h"

namespace kv::host {
namespace {

constexpr COLORREF kRed = RGB(200, 30, 40);
constexpr COLORREF kGreen = RGB(20, 180, 60);
constexpr COLORREF kBlue = RGB(30, 40, 220);

// Paints its background in the colour kept in its user data.
LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT client;
        ::GetClientRect(window, &client);
        unique_gdiobj brush(::CreateSolidBrush(static_cast<COLORREF>(::GetWindowLongPtrW(window, GWLP_USERDATA))));
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(brush.get()));
        return 1;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND Plain(HWND parent, COLORREF colour, const RECT& place, bool visible = true) {
    const DWORD style = (parent ? WS_CHILD : WS_POPUP) | (visible && parent ? WS_VISIBLE : 0);
    const HWND window = ::CreateWindowExW(0, L"KvCapturePlain", L"", style, place.left, place.top, place.right,
                                          place.bottom, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, colour);
    return window;
}

TEST(WindowCapture, PaintsChildrenOverTheirParentInStackingOrder) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = PlainProc;
    windowClass.lpszClassName = L"KvCapturePlain";
    ASSERT_NE(0, ::RegisterClassW(&windowClass));
    // Never shown: the capture prints, it does not read the screen.
    unique_hwnd parent(Plain(nullptr, kRed, {0, 0, 120, 60}));
    ASSERT_TRUE(parent);
    const HWND green = Plain(parent.get(), kGreen, {10, 10, 40, 40});
    const HWND blue = Plain(parent.get(), kBlue, {30, 10, 40, 40});
    ::SetWindowPos(blue, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    const HWND holder = Plain(parent.get(), kBlue, {80, 10, 30, 40});
    ASSERT_TRUE(green && blue && holder);
    ASSERT_TRUE(Plain(holder, kGreen, {5, 5, 10, 10}));
    ASSERT_TRUE(Plain(parent.get(), kGreen, {0, 52, 120, 8}, false));

    WindowPixels pixels;
    ASSERT_EQ(S_OK, CaptureWindow(parent.get(), pixels));
    ASSERT_EQ(120, pixels.width);
    ASSERT_EQ(60, pixels.height);
    EXPECT_EQ(kRed, pixels.At(2, 2));
    EXPECT_EQ(kGreen, pixels.At(15, 30));  // where nothing covers it
    EXPECT_EQ(kBlue, pixels.At(40, 30));   // raised over the green one
    EXPECT_EQ(kBlue, pixels.At(82, 40));   // the holder
    EXPECT_EQ(kGreen, pixels.At(90, 20));  // its own child, at 85,15 to 95,25
    EXPECT_EQ(kRed, pixels.At(60, 55));    // the hidden child is not painted
}

}  // namespace
}  // namespace kv::host
