// The texts and figures of a transfer, over plain values.
#include "control/download/progress_texts.h"

#include <gtest/gtest.h>

#include <climits>

TEST(FormatDuration, PadsHoursWithASpaceAndNeverLimitsThem) {
    EXPECT_EQ(" 0:00:00", FormatDuration(0));
    EXPECT_EQ(" 0:00:05", FormatDuration(5));
    EXPECT_EQ(" 1:02:05", FormatDuration(3725));
    EXPECT_EQ("100:00:00", FormatDuration(360000));
    EXPECT_EQ("1193046:28:15", FormatDuration(UINT32_MAX));
}

TEST(GroupDigits, PutsACommaBeforeEveryGroupOfThreeFromTheRight) {
    EXPECT_EQ("1,234,567", GroupDigits("1234567"));
    EXPECT_EQ("1,000", GroupDigits("1000"));
    EXPECT_EQ("999", GroupDigits("999"));
    EXPECT_EQ("100,000", GroupDigits("100000"));
    EXPECT_EQ("", GroupDigits(""));
    EXPECT_EQ("9,223,372,036,854,775,807", FormatGrouped64(INT64_MAX));
}

TEST(KilobyteText, TruncatesWholeKilobytes) {
    EXPECT_EQ("0 KB", KilobyteText(1023));
    EXPECT_EQ("1,024 KB", KilobyteText(1048576));
    EXPECT_EQ("1,205 KB", KilobyteText(1234567));
    EXPECT_EQ("4,882 KB", KilobyteText(5000000));
}

TEST(TruncatedPercent, TruncatesAndNeverDividesByAnUnknownSize) {
    EXPECT_EQ(99, TruncatedPercent(9997, 10000));
    EXPECT_EQ(100, TruncatedPercent(10000, 10000));
    EXPECT_EQ(50, TruncatedPercent(1, 2));
    // A failed size query leaves 0: a file on disk shows as 0 percent, not as infinity.
    EXPECT_EQ(0, TruncatedPercent(5000, 0));
    EXPECT_EQ(0, TruncatedPercent(0, 0));
    EXPECT_EQ("99%", PercentText(99));
}

// More on disk than the server's size (a larger local file, a file that grew) is the whole
// file, not 150 percent; an empty file is whole at once.
TEST(TruncatedPercent, NeverPassesAHundred) {
    EXPECT_EQ(100, TruncatedPercent(150, 100));
    EXPECT_EQ(100, TruncatedPercent(1e18, 1));
    EXPECT_EQ(100, FilePercent(150000, 100000));
    EXPECT_EQ(100, FilePercent(0, 0));
    EXPECT_EQ(0, FilePercent(0, 100));
}

TEST(TransferFigures, ShowNothingMovingBeforeAWholeSecondOrAByte) {
    for (const auto& figures : {ComputeTransferFigures(4096, 8192, 4096, 999),
                                ComputeTransferFigures(0, 8192, 0, 5000)}) {
        EXPECT_EQ("0 KB/Sec", figures.speed);
        EXPECT_EQ(" 0:00:00", figures.remaining);
    }
}

TEST(TransferFigures, AResumedHalfCountsOnlyTheNewBytesForTheSpeed) {
    // 4 MiB file, 2 MiB were on disk before the start, 1 MiB came in 2 seconds.
    const TransferFigures figures = ComputeTransferFigures(3145728, 4194304, 1048576, 2500);
    EXPECT_EQ("3,072 KB", figures.received);
    EXPECT_EQ("512 KB/Sec", figures.speed);
    EXPECT_EQ(" 0:00:02", figures.remaining);
}

TEST(TransferFigures, AFileLargerThanQueriedHasNothingLeft) {
    EXPECT_EQ(" 0:00:00", ComputeTransferFigures(9000, 8192, 9000, 3000).remaining);
}

TEST(ProgressRefresh, EveryTwentiethNotificationOrTheLastOne) {
    uint32_t counter = 0;
    for (int k = 1; k < 20; ++k) EXPECT_FALSE(CountProgressNotification(counter, k, 100));
    EXPECT_TRUE(CountProgressNotification(counter, 50, 100));
    EXPECT_EQ(0u, counter);
    EXPECT_TRUE(CountProgressNotification(counter, 100, 100));
    // Carried over from an earlier transfer: the next refresh comes sooner than the 20th.
    counter = 17;
    EXPECT_FALSE(CountProgressNotification(counter, 1, 100));
    EXPECT_FALSE(CountProgressNotification(counter, 2, 100));
    EXPECT_TRUE(CountProgressNotification(counter, 3, 100));
}
