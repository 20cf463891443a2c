#include "skin/child_window.h"

#include "window_test_support.h"

#include <gtest/gtest.h>

#include <memory>

TEST(ChildWindow, MakesAnEmptyChildAndOutlivesItOrTakesItAlong) {
    TestParent parent;
    kv::CChildWindow child;
    const HWND window = child.Create("STATIC", WS_CHILD, parent.handle(), 215);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(::GetDlgCtrlID(window), 215);
    RECT area;
    ::GetWindowRect(window, &area);
    EXPECT_TRUE(::IsRectEmpty(&area));
    ::DestroyWindow(window);  // as the parent does when it goes first
    EXPECT_EQ(child.handle(), nullptr);

    auto early = std::make_unique<kv::CChildWindow>();
    const HWND second = early->Create("BUTTON", WS_CHILD, parent.handle(), 218);
    early.reset();
    EXPECT_FALSE(::IsWindow(second));
}
