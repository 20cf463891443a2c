#include "skin/transparent_static.h"

#include "window_test_support.h"

#include <gtest/gtest.h>

namespace {

// Columns of the parent from `from` on that show anything but its background.
int InkedColumns(HWND parent, int from) {
    const Pixels pixels = ReadScreenPixels(parent);
    int columns = 0;
    for (int x = from; x < pixels.width; ++x) {
        for (int y = 0; y < pixels.height(); ++y) {
            if (pixels.at(x, y) != TestParent::kBackground) {
                ++columns;
                break;
            }
        }
    }
    return columns;
}

}  // namespace

TEST(TransparentStatic, ShorterTextLeavesNoTraceOfTheLonger) {
    TestParent parent;
    kv::CTransparentStatic label;
    ASSERT_NE(label.Create(WS_CHILD | WS_VISIBLE, parent.handle(), 208), nullptr);
    ::MoveWindow(label.handle(), 10, 10, 300, 20, TRUE);
    ::SetWindowTextA(label.handle(), "WWWWWWWWWWWWWWWWWWWW");
    PumpMessages();
    ASSERT_GT(InkedColumns(parent.handle(), 60), 100);

    ::SetWindowTextA(label.handle(), "W");
    PumpMessages();
    EXPECT_GT(InkedColumns(parent.handle(), 0), 0);
    EXPECT_EQ(InkedColumns(parent.handle(), 60), 0);
}
