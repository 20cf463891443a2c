#include "skin/transparent_static.h"

#include "window_test_support.h"

#include <gtest/gtest.h>

namespace {

// Columns of `pixels` between `from` and its right edge that show any text colour.
int TextColumnsFrom(const Pixels& pixels, int from) {
    int columns = 0;
    for (int x = from; x < pixels.width; ++x) {
        for (int y = 0; y < pixels.height; ++y) {
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
    ASSERT_GT(TextColumnsFrom(ReadScreenPixels(parent.handle()), 60), 100);

    ::SetWindowTextA(label.handle(), "W");
    PumpMessages();
    const Pixels after = ReadScreenPixels(parent.handle());
    EXPECT_GT(TextColumnsFrom(after, 0), 0);   // the new text shows
    EXPECT_EQ(TextColumnsFrom(after, 60), 0);  // the old one is gone
    char text[8] = {};
    ::GetWindowTextA(label.handle(), text, sizeof text);
    EXPECT_STREQ(text, "W");
}
