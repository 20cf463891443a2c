#include "skin/color_progress_ctrl.h"

#include "window_test_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using kv::CColorProgressCtrl;

namespace {

constexpr COLORREF kGreen = RGB(0, 255, 0);

// Where the bar stops being `color`, checked on every row; -1 when rows disagree.
int ColorEdge(const Pixels& pixels, COLORREF color) {
    int edge = -2;
    for (int y = 0; y < pixels.height; ++y) {
        int x = 0;
        while (x < pixels.width && pixels.at(x, y) == color) ++x;
        for (int rest = x; rest < pixels.width; ++rest) {
            if (pixels.at(rest, y) != ::GetSysColor(COLOR_BTNFACE)) return -1;
        }
        if (edge != -2 && edge != x) return -1;
        edge = x;
    }
    return edge;
}

class ColorProgress : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(bar.Create(WS_CHILD | WS_VISIBLE | PBS_SMOOTH, parent.handle(), 207), nullptr);
        // 255 pixels of client area, whatever border the class gives the window.
        RECT window;
        RECT client;
        ::GetWindowRect(bar.handle(), &window);
        ::GetClientRect(bar.handle(), &client);
        ::MoveWindow(bar.handle(), 10, 10, 255 + (window.right - window.left) - client.right,
                     12 + (window.bottom - window.top) - client.bottom, TRUE);
        bar.SetRange(0, 100);
        bar.SetBarColor(kGreen);
    }

    TestParent parent;
    CColorProgressCtrl bar;
};

}  // namespace

TEST_F(ColorProgress, HalfFills128PixelsThenTheButtonFace) {
    bar.SetPosition(50);
    PumpMessages();
    const Pixels screen = ReadScreenPixels(bar.handle());
    ASSERT_EQ(screen.width, 255);
    EXPECT_EQ(ColorEdge(screen, kGreen), 128);
    // Pictures of the window draw the same.
    EXPECT_EQ(PrintClientPixels(bar.handle()).colors, screen.colors);
}

TEST_F(ColorProgress, EmptyFullAndBeyond) {
    bar.SetPosition(100);
    PumpMessages();
    EXPECT_EQ(ColorEdge(ReadScreenPixels(bar.handle()), kGreen), 255);
    bar.SetPosition(101);  // the window keeps 100; the bar shows empty
    PumpMessages();
    EXPECT_EQ(ColorEdge(ReadScreenPixels(bar.handle()), kGreen), 0);
    EXPECT_EQ(::SendMessageA(bar.handle(), PBM_GETPOS, 0, 0), 100);
    bar.SetPosition(0);
    PumpMessages();
    EXPECT_EQ(ColorEdge(ReadScreenPixels(bar.handle()), kGreen), 0);
}

TEST_F(ColorProgress, WindowRangeIsItsOwn) {
    bar.SetRange(0, 1000);
    bar.SetPosition(50);
    PumpMessages();
    EXPECT_EQ(::SendMessageA(bar.handle(), PBM_GETRANGE, FALSE, 0), 1000);
    EXPECT_EQ(ColorEdge(ReadScreenPixels(bar.handle()), kGreen), 128);
}
