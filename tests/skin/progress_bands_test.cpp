#include "skin/progress_bands.h"

#include <gtest/gtest.h>

using kv::ProgressFilledWidth;

TEST(ProgressBands, HalfOf255PixelsFills128) {
    // 50 / 100 * 255 is 127.5, cut to 127; the band from 127 to 128 is the first past it.
    EXPECT_EQ(ProgressFilledWidth(50, 0, 100, 255), 128);
}

TEST(ProgressBands, OutsideTheRangeIsEmpty) {
    EXPECT_EQ(ProgressFilledWidth(0, 0, 100, 255), 0);
    EXPECT_EQ(ProgressFilledWidth(-1, 0, 100, 255), 0);
    EXPECT_EQ(ProgressFilledWidth(101, 0, 100, 255), 0);
}

TEST(ProgressBands, FullAndSmallestPositions) {
    EXPECT_EQ(ProgressFilledWidth(100, 0, 100, 255), 255);
    // 255 single-precision steps of 1023 / 255 end at 1022.99..., one column short.
    EXPECT_EQ(ProgressFilledWidth(100, 0, 100, 1023), 1023);
    // 99 percent of 300 is 297; bands are 1.18 pixels wide and the first edge past 297 is 298.
    EXPECT_EQ(ProgressFilledWidth(99, 0, 100, 300), 298);
    // 1 percent of 510 pixels is 5.1, cut to 5; bands are 2 pixels wide.
    EXPECT_EQ(ProgressFilledWidth(1, 0, 100, 510), 6);
    // Narrower than 255 pixels, most bands are empty and the bar still shows one.
    EXPECT_EQ(ProgressFilledWidth(1, 0, 100, 100), 2);
}
