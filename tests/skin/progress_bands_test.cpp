#include "skin/progress_bands.h"

#include <gtest/gtest.h>

using kv::ProgressFilledWidth;

TEST(ProgressBands, FilledWidth) {
    // 50 / 100 * 255 is 127.5, cut to 127; the band from 127 to 128 is the first past it.
    EXPECT_EQ(ProgressFilledWidth(50, 0, 100, 255), 128);
    EXPECT_EQ(ProgressFilledWidth(0, 0, 100, 255), 0);
    EXPECT_EQ(ProgressFilledWidth(-1, 0, 100, 255), 0);
    EXPECT_EQ(ProgressFilledWidth(101, 0, 100, 255), 0);
    EXPECT_EQ(ProgressFilledWidth(100, 0, 100, 255), 255);
    // 255 single-precision steps of 1023 / 255 end at 1022.99..., one column short.
    EXPECT_EQ(ProgressFilledWidth(100, 0, 100, 1023), 1023);
    // A typical skin's 358-pixel bar: bands of 1.40 pixels, so 50 % (179) fills to the end of
    // band 129 and 25 % (89) to the end of band 65.
    EXPECT_EQ(ProgressFilledWidth(50, 0, 100, 358), 181);
    EXPECT_EQ(ProgressFilledWidth(25, 0, 100, 358), 91);
    // Narrower than 255 pixels most bands are empty; the bar still shows one.
    EXPECT_EQ(ProgressFilledWidth(1, 0, 100, 100), 2);
}
