#include "skin/skin_button.h"

#include "window_test_support.h"

#include <gtest/gtest.h>

using kv::CxSkinButton;

namespace {

constexpr COLORREF kNormal = RGB(200, 0, 0);
constexpr COLORREF kPressed = RGB(0, 160, 0);
constexpr COLORREF kOver = RGB(0, 0, 220);
constexpr COLORREF kDisabled = RGB(90, 90, 90);
constexpr int kWidth = 60;
constexpr int kHeight = 24;

class SkinButton : public testing::Test {
protected:
    void SetUp() override {
        PointAway();
        parent.button = &button;
        ASSERT_NE(button.Create(WS_CHILD | WS_VISIBLE, parent.handle(), 217), nullptr);
        ::MoveWindow(button.handle(), 20, 30, kWidth, kHeight, TRUE);
        AssignAll(true);
        PumpMessages();
    }
    void AssignAll(bool withDisabled) {
        button.AssignPictures(SolidBitmap(kWidth, kHeight, kNormal),
                              SolidBitmap(kWidth, kHeight, kPressed),
                              SolidBitmap(kWidth, kHeight, kOver),
                              withDisabled ? SolidBitmap(kWidth, kHeight, kDisabled)
                                           : kv::unique_hbitmap());
        ::InvalidateRect(button.handle(), nullptr, TRUE);
    }
    COLORREF Face() {
        PumpMessages();
        const Pixels pixels = ReadScreenPixels(button.handle());
        return pixels.at(kWidth / 2, kHeight / 2);
    }
    // A click where the pointer is; the number of BN_CLICKED it gave.
    int Click(bool twice = false) {
        const int before = parent.clicks;
        for (int i = 0; i < (twice ? 2 : 1); ++i) {
            SendLeftButton(true);
            SendLeftButton(false);
        }
        const int expected = twice ? 2 : 1;
        PumpUntil([&] { return parent.clicks - before >= expected; });
        PumpMessages();
        return parent.clicks - before;
    }

    TestParent parent;
    CxSkinButton button;
};

}  // namespace

TEST_F(SkinButton, IsOwnerDrawn) {
    EXPECT_EQ(::GetWindowLongPtrA(button.handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
}

TEST_F(SkinButton, FollowsTheMouse) {
    EXPECT_EQ(Face(), kNormal);

    PointAt(button.handle());
    ASSERT_TRUE(PumpUntil([&] { return button.mouseOver; }));
    EXPECT_EQ(Face(), kOver);

    SendLeftButton(true);
    ASSERT_TRUE(PumpUntil([&] { return button.buttonDown; }));
    EXPECT_FALSE(button.mouseOver);
    EXPECT_EQ(Face(), kPressed);

    // Wine reports a mouse move where the pointer is when the button lets the capture go, so
    // the mouse-over look comes back at once after a click.
    SendLeftButton(false);
    ASSERT_TRUE(PumpUntil([&] { return parent.clicks == 1; }));
    EXPECT_FALSE(button.buttonDown);

    PointAway();
    ASSERT_TRUE(PumpUntil([&] { return !button.mouseOver; }));
    EXPECT_EQ(Face(), kNormal);
}

TEST_F(SkinButton, EachClickIsOneCommandAndADoubleClickTwo) {
    PointAt(button.handle());
    EXPECT_EQ(Click(), 1);
    EXPECT_EQ(Click(true), 2);
}

TEST_F(SkinButton, DisabledShowsItsPictureAndTakesNoClick) {
    PointAt(button.handle());
    ASSERT_TRUE(PumpUntil([&] { return button.mouseOver; }));
    ::EnableWindow(button.handle(), FALSE);
    EXPECT_EQ(Face(), kDisabled);  // the mouse-over look does not count
    EXPECT_EQ(Click(), 0);

    AssignAll(false);
    EXPECT_EQ(Face(), kNormal);
}

TEST_F(SkinButton, WithoutPicturesOrAroundASmallOneShowsTheButtonFace) {
    button.AssignPictures(SolidBitmap(kWidth / 2, kHeight, kNormal), {}, {}, {});
    ::InvalidateRect(button.handle(), nullptr, TRUE);
    PumpMessages();
    const Pixels small = ReadScreenPixels(button.handle());
    EXPECT_EQ(small.at(2, 2), kNormal);
    EXPECT_EQ(small.at(kWidth - 3, 2), ::GetSysColor(COLOR_BTNFACE));

    ::EnableWindow(button.handle(), FALSE);
    button.AssignPictures({}, {}, {}, {});
    EXPECT_EQ(Face(), ::GetSysColor(COLOR_BTNFACE));
}
