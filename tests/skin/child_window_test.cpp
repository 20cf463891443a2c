#include "skin/child_window.h"

#include "window_test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Counts what reaches the object.
class CountingWindow final : public kv::CChildWindow {
public:
    int attached = 0;
    int setTexts = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETTEXT) ++setTexts;
        return DefaultProc(message, wParam, lParam);
    }
    void OnAttach() override { ++attached; }
};

}  // namespace

TEST(ChildWindow, CreatesAnEmptyChildAndRoutesItsMessages) {
    TestParent parent;
    CountingWindow child;
    const HWND window = child.Create("STATIC", WS_CHILD | WS_VISIBLE, parent.handle(), 215);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(child.handle(), window);
    EXPECT_EQ(child.attached, 1);
    EXPECT_EQ(::GetParent(window), parent.handle());
    EXPECT_EQ(::GetDlgCtrlID(window), 215);
    EXPECT_EQ(::GetWindowTextLengthA(window), 0);
    RECT area;
    ::GetWindowRect(window, &area);
    EXPECT_TRUE(::IsRectEmpty(&area));
    EXPECT_EQ(child.Create("STATIC", WS_CHILD, parent.handle(), 216), nullptr);  // one window each

    ::SetWindowTextA(window, "x");
    EXPECT_EQ(child.setTexts, 1);
}

TEST(ChildWindow, OutlivesItsWindowAndTakesItAlongWhenFirstToGo) {
    TestParent parent;
    CountingWindow survivor;
    const HWND first = survivor.Create("BUTTON", WS_CHILD, parent.handle(), 217);
    ::DestroyWindow(first);
    EXPECT_EQ(survivor.handle(), nullptr);

    auto early = std::make_unique<CountingWindow>();
    const HWND second = early->Create("BUTTON", WS_CHILD, parent.handle(), 218);
    early.reset();
    EXPECT_FALSE(::IsWindow(second));
}
