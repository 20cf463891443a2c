// The control window's panel: the background it holds for the picture control.
#include "control/window/child_panel.h"

#include "control/resource.h"

#include <gtest/gtest.h>

namespace {

// A large background held twice, the old beside the new, may not fit in memory: the skin
// applier clears the old one before it loads the next, and clearing must really free it.
TEST(ChildPanel, ClearingTheBackgroundReleasesIt) {
    HWND window = ::CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                    nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    HWND picture = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP, 0, 0, 20, 20,
                                     window, reinterpret_cast<HMENU>(IDC_BACKGROUND), nullptr, nullptr);
    ASSERT_NE(nullptr, picture);
    CChildPanel panel;
    panel.Create(window);
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, panel.ClientSize().cx);
    EXPECT_EQ(client.bottom, panel.ClientSize().cy);

    HBITMAP bitmap = ::CreateBitmap(10, 10, 1, 32, nullptr);
    panel.SetBackground(kv::unique_hbitmap(bitmap));
    EXPECT_EQ(reinterpret_cast<LRESULT>(bitmap), ::SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    panel.ClearBackground();
    EXPECT_EQ(0, ::SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    EXPECT_EQ(0u, ::GetObjectType(bitmap));
    ::DestroyWindow(window);
}

}  // namespace
