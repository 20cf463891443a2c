#include "skin/skin_button.h"

#include "window_test_support.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kNormal = RGB(200, 0, 0);
constexpr COLORREF kPressed = RGB(0, 160, 0);
constexpr COLORREF kOver = RGB(0, 0, 220);
constexpr COLORREF kDisabled = RGB(90, 90, 90);

class SkinButton : public testing::Test {
protected:
    void SetUp() override {
        PointAway();
        parent.button = &button;
        ASSERT_NE(button.Create(WS_CHILD | WS_VISIBLE, parent.handle(), 217), nullptr);
        ::MoveWindow(button.handle(), 20, 30, 60, 24, TRUE);
        Assign(SolidBitmap(60, 24, kNormal), SolidBitmap(60, 24, kDisabled));
    }
    void Assign(kv::unique_hbitmap normal, kv::unique_hbitmap disabled) {
        button.AssignPictures(std::move(normal), SolidBitmap(60, 24, kPressed),
                              SolidBitmap(60, 24, kOver), std::move(disabled));
        ::InvalidateRect(button.handle(), nullptr, TRUE);
    }
    COLORREF Face(int x = 30) {
        PumpMessages();
        return ReadScreenPixels(button.handle()).at(x, 12);
    }
    // Presses and releases `times` times where the pointer is; the commands it gave.
    int Click(int times) {
        const int before = parent.clicks;
        for (int i = 0; i < times; ++i) {
            SendLeftButton(true);
            SendLeftButton(false);
        }
        PumpUntil([&] { return parent.clicks - before >= times; });
        return parent.clicks - before;
    }

    TestParent parent;
    kv::CxSkinButton button;
};

}  // namespace

TEST_F(SkinButton, FollowsTheMouse) {
    EXPECT_EQ(::GetWindowLongPtrA(button.handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(Face(), kNormal);
    PointAt(button.handle());
    ASSERT_TRUE(PumpUntil([&] { return button.mouseOver; }));
    EXPECT_EQ(Face(), kOver);

    SendLeftButton(true);
    ASSERT_TRUE(PumpUntil([&] { return button.buttonDown; }));
    EXPECT_FALSE(button.mouseOver);
    EXPECT_EQ(Face(), kPressed);
    // Wine reports a mouse move where the pointer is when the capture ends, so the mouse-over
    // look comes back at once after the click.
    SendLeftButton(false);
    ASSERT_TRUE(PumpUntil([&] { return parent.clicks == 1; }));
    EXPECT_FALSE(button.buttonDown);
    PointAway();
    ASSERT_TRUE(PumpUntil([&] { return !button.mouseOver; }));
    EXPECT_EQ(Face(), kNormal);
}

TEST_F(SkinButton, EachClickIsOneCommandAndADoubleClickTwo) {
    PointAt(button.handle());
    EXPECT_EQ(Click(1), 1);
    EXPECT_EQ(Click(2), 2);
}

TEST_F(SkinButton, DisabledShowsItsPictureOrTheNormalOneAndTakesNoClick) {
    PointAt(button.handle());
    ASSERT_TRUE(PumpUntil([&] { return button.mouseOver; }));
    ::EnableWindow(button.handle(), FALSE);
    EXPECT_EQ(Face(), kDisabled);
    EXPECT_EQ(Click(1), 0);
    Assign(SolidBitmap(60, 24, kNormal), {});
    EXPECT_EQ(Face(), kNormal);
}

TEST_F(SkinButton, ButtonFaceWithoutAPictureAndAroundASmallOne) {
    Assign(SolidBitmap(30, 24, kNormal), {});
    EXPECT_EQ(Face(10), kNormal);
    EXPECT_EQ(Face(50), ::GetSysColor(COLOR_BTNFACE));
    button.AssignPictures({}, {}, {}, {});
    ::InvalidateRect(button.handle(), nullptr, TRUE);
    EXPECT_EQ(Face(10), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(SkinButton, TheOverLookNeedsANormalPicture) {
    // A skin without the normal picture shows the button face under the pointer too, not
    // an over picture that would vanish again as the pointer leaves.
    Assign({}, {});
    PointAt(button.handle());
    ASSERT_TRUE(PumpUntil([&] { return button.mouseOver; }));
    EXPECT_EQ(Face(), ::GetSysColor(COLOR_BTNFACE));
}
