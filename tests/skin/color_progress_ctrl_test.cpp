#include "skin/color_progress_ctrl.h"

#include "window_test_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

// Columns of green from the left, when every row shows green and then the button face only.
int GreenColumns(const Pixels& pixels) {
    int edge = -1;
    for (int y = 0; y < pixels.height(); ++y) {
        int x = 0;
        while (x < pixels.width && pixels.at(x, y) == RGB(0, 255, 0)) ++x;
        if (edge != -1 && edge != x) return -1;
        for (edge = x; x < pixels.width; ++x) {
            if (pixels.at(x, y) != ::GetSysColor(COLOR_BTNFACE)) return -1;
        }
    }
    return edge;
}

}  // namespace

TEST(ColorProgress, FillsTheBandsUpToThePosition) {
    TestParent parent;
    kv::CColorProgressCtrl bar;
    ASSERT_NE(bar.Create(WS_CHILD | WS_VISIBLE | PBS_SMOOTH, parent.handle(), 207), nullptr);
    RECT window;  // 255 pixels of client area, whatever border the class adds
    RECT client;
    ::GetWindowRect(bar.handle(), &window);
    ::GetClientRect(bar.handle(), &client);
    ::MoveWindow(bar.handle(), 10, 10, 255 + window.right - window.left - client.right,
                 12 + window.bottom - window.top - client.bottom, TRUE);
    bar.SetRange(0, 100);
    bar.SetBarColor(RGB(0, 255, 0));

    const auto shown = [&](int position) {
        bar.SetPosition(position);
        PumpMessages();
        return ReadScreenPixels(bar.handle());
    };
    const Pixels half = shown(50);
    ASSERT_EQ(half.width, 255);
    EXPECT_EQ(GreenColumns(half), 128);
    EXPECT_EQ(PrintClientPixels(bar.handle()).colors, half.colors);
    EXPECT_EQ(GreenColumns(shown(100)), 255);
    EXPECT_EQ(GreenColumns(shown(101)), 0);  // the window itself stays at 100
    EXPECT_EQ(GreenColumns(shown(0)), 0);
}
