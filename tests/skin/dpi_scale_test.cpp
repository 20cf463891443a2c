#include "skin/dpi_layout_target.h"
#include "skin/dpi_scale.h"
#include "skin/pixel_scaler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(DpiScale, LengthsRoundToTheNearestPixelAndStayAsTheyAreAt96) {
    EXPECT_EQ(kv::ScaleToDpi(378, 96), 378);
    EXPECT_EQ(kv::ScaleToDpi(2147483647, 96), 2147483647);
    EXPECT_EQ(kv::ScaleToDpi(378, 144), 567);
    EXPECT_EQ(kv::ScaleToDpi(311, 144), 467);   // 466.5: halves go up
    EXPECT_EQ(kv::ScaleToDpi(-3, 144), -5);     // -4.5: and away from zero below it
    EXPECT_EQ(kv::ScaleToDpi(10, 120), 13);     // 12.5
    EXPECT_EQ(kv::ScaleToDpi(76, 192), 152);
}

TEST(DpiScale, RectanglesScaleByTheirEdgesSoNeighboursStillTouch) {
    const RECT left{16, 234, 117, 248};
    const RECT right{117, 234, 317, 248};
    const RECT scaledLeft = kv::ScaleRectToDpi(left, 144);
    const RECT scaledRight = kv::ScaleRectToDpi(right, 144);
    EXPECT_PRED2(SameRect, scaledLeft, (RECT{24, 351, 176, 372}));
    EXPECT_EQ(scaledLeft.right, scaledRight.left);
    // Every width is 1.5 times its own, give or take a pixel.
    for (int x = 0; x < 50; ++x) {
        for (int w = 0; w < 50; ++w) {
            const RECT r = kv::ScaleRectToDpi({x, 0, x + w, 1}, 144);
            EXPECT_LE(std::abs(2 * (r.right - r.left) - 3 * w), 2) << x << " " << w;
        }
    }
}

TEST(DpiScale, TheDoubleSizePictureServesFrom144DpiWhenTheSkinHasIt) {
    EXPECT_FALSE(kv::UsesDoubleSizePicture(96, true));
    EXPECT_FALSE(kv::UsesDoubleSizePicture(143, true));
    EXPECT_TRUE(kv::UsesDoubleSizePicture(144, true));
    EXPECT_TRUE(kv::UsesDoubleSizePicture(192, true));
    EXPECT_TRUE(kv::UsesDoubleSizePicture(288, true));
    EXPECT_FALSE(kv::UsesDoubleSizePicture(192, false));
    EXPECT_EQ(kv::DoubleSizePictureName("bk_main.jpg"), "bk_main@2x.jpg");
    EXPECT_EQ(kv::DoubleSizePictureName("C:\\skins\\a.b\\btn_run.jpg"), "C:\\skins\\a.b\\btn_run@2x.jpg");
    EXPECT_EQ(kv::DoubleSizePictureName("C:\\skins\\a.b\\picture"), "C:\\skins\\a.b\\picture@2x");
}

namespace {

class RecordingTarget final : public kv::SkinLayoutTarget {
public:
    void SetTextColor(COLORREF) override {}
    void SetBarColor(COLORREF) override {}
    void Move(kv::SkinItem item, const RECT& r) override { moves.push_back({item, r}); }
    SIZE ButtonSize() const override { return {114, 42}; }  // pictures of 76 x 28 at 144 dpi
    std::vector<std::pair<kv::SkinItem, RECT>> moves;
};

}  // namespace

TEST(DpiLayoutTarget, ScalesRectanglesAndGivesButtonsTheSizeOfTheirScaledPictures) {
    RecordingTarget real;
    kv::DpiLayoutTarget scaled(real, 144);
    scaled.Move(kv::SkinItem::FileName, {100, 61, 356, 77});
    scaled.Move(kv::SkinItem::RunButton, {7, 9, 83, 37});
    ASSERT_EQ(real.moves.size(), 2u);
    EXPECT_PRED2(SameRect, real.moves[0].second, (RECT{150, 92, 534, 116}));
    EXPECT_PRED2(SameRect, real.moves[1].second, (RECT{11, 14, 125, 56}));
}

namespace {

kv::PixelBuffer Filled(int width, int height, uint32_t (*pixel)(int x, int y)) {
    kv::PixelBuffer buffer(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) buffer.at(x, y) = pixel(x, y);
    return buffer;
}

int Channel(uint32_t pixel, int c) { return static_cast<int>(pixel >> (8 * c) & 0xFF); }

}  // namespace

TEST(PixelScaler, TheSameSizeKeepsEveryPixelAndOneColourStaysThatColour) {
    const kv::PixelBuffer noise = Filled(7, 5, [](int x, int y) { return uint32_t(x * 977 + y * 131071) * 2654435761u; });
    EXPECT_EQ(kv::ScalePixels(noise, 7, 5).pixels, noise.pixels);
    const kv::PixelBuffer solid = Filled(76, 28, [](int, int) { return 0x00C8285Au; });
    for (const SIZE size : {SIZE{114, 42}, SIZE{152, 56}, SIZE{38, 14}, SIZE{101, 9}, SIZE{1, 1}}) {
        const kv::PixelBuffer scaled = kv::ScalePixels(solid, size.cx, size.cy);
        ASSERT_EQ(scaled.width, size.cx);
        ASSERT_EQ(scaled.height, size.cy);
        for (uint32_t p : scaled.pixels) ASSERT_EQ(p, 0x00C8285Au) << size.cx << "x" << size.cy;
    }
    EXPECT_TRUE(kv::ScalePixels(kv::PixelBuffer(), 10, 10).pixels.empty());
}

TEST(PixelScaler, ShrinkingAveragesTheAreaEachPixelCovers) {
    // Columns 0, 255, 0, 255, ...: halved, every pixel is the mean of two; to a third of a
    // 3-wide stripe pattern, each pixel is its stripe's mean.
    const kv::PixelBuffer stripes = Filled(8, 2, [](int x, int) { return x % 2 ? 0x00FFFFFFu : 0u; });
    for (uint32_t p : kv::ScalePixels(stripes, 4, 2).pixels) EXPECT_EQ(Channel(p, 1), 128);
    // 3 pixels into 2: the first takes 1 and a half of them.
    const kv::PixelBuffer ramp = Filled(3, 1, [](int x, int) { return uint32_t(x * 90); });
    const kv::PixelBuffer two = kv::ScalePixels(ramp, 2, 1);
    EXPECT_EQ(Channel(two.at(0, 0), 0), 30);   // (0 + 90 / 2) / 1.5
    EXPECT_EQ(Channel(two.at(1, 0), 0), 150);  // (90 / 2 + 180) / 1.5
}

TEST(PixelScaler, GrowingBlendsTheNearestPixelsAndKeepsTheEdges) {
    const kv::PixelBuffer ramp = Filled(2, 2, [](int x, int y) { return uint32_t(x * 200) << 16 | uint32_t(y * 100); });
    const kv::PixelBuffer grown = kv::ScalePixels(ramp, 4, 4);
    // Centres at 0.5 / 2 - 0.5 = -0.25 (clamped to the edge), 0.25, 0.75, 1.25 (clamped).
    const int reds[4] = {0, 50, 150, 200};
    const int blues[4] = {0, 25, 75, 100};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(Channel(grown.at(k, 0), 2), reds[k]) << k;
        EXPECT_EQ(Channel(grown.at(0, k), 0), blues[k]) << k;
    }
}

TEST(PixelScaler, CropKeepsTheTopLeftPart) {
    const kv::PixelBuffer noise = Filled(5, 4, [](int x, int y) { return uint32_t(x + 10 * y); });
    const kv::PixelBuffer part = kv::CropPixels(noise, 2, 9);
    ASSERT_EQ(part.width, 2);
    ASSERT_EQ(part.height, 4);
    EXPECT_EQ(part.pixels, (std::vector<uint32_t>{0, 1, 10, 11, 20, 21, 30, 31}));
}
