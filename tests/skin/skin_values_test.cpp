#include "skin/skin_values.h"

#include <gtest/gtest.h>

using kv::FieldToInt;
using Fields = std::vector<std::string>;

namespace {

Fields Split(const std::string& text, char delimiter = ',') {
    Fields fields = {"left over"};
    const int count = kv::SplitString(text, delimiter, fields);
    EXPECT_EQ(count, static_cast<int>(fields.size()));
    return fields;
}

std::vector<int32_t> Rect(const std::string& value, bool expected) {
    kv::SkinRect r{-1, -1, -1, -1};
    EXPECT_EQ(kv::ParseRect(value, r), expected) << value;
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

TEST(SplitString, EmptyFieldsCountExceptAtTheEnd) {
    EXPECT_EQ(Split("1,,3"), (Fields{"1", "", "3"}));
    EXPECT_EQ(Split("1,2,"), (Fields{"1", "2"}));
    EXPECT_EQ(Split(""), Fields{});
    EXPECT_EQ(Split(","), Fields{""});
}

TEST(SplitString, TrailByteIsNeverTheDelimiter) {
    // No code page 949 trail byte is a comma; "갂" is 0x81 0x41, whose trail byte is 'A'.
    ASSERT_EQ(std::string("갂"), "\x81\x41");
    EXPECT_EQ(Split("갂A갂", 'A'), (Fields{"갂", "갂"}));
    EXPECT_EQ(Split("스킨,갂,"), (Fields{"스킨", "갂"}));
}

TEST(FieldToInt, FollowsAtoiAndSaturates) {
    EXPECT_EQ(FieldToInt("10 px"), 10);
    EXPECT_EQ(FieldToInt("  -7"), -7);
    EXPECT_EQ(FieldToInt(" "), 0);
    EXPECT_EQ(FieldToInt("x"), 0);
    EXPECT_EQ(FieldToInt("2147483648"), INT32_MAX);
    EXPECT_EQ(FieldToInt("-99999999999999999999999"), INT32_MIN);
}

TEST(ParseColor, LowEightBitsOfRedGreenBlue) {
    uint32_t color = 0;
    EXPECT_TRUE(kv::ParseColor("300,256,-1,9", color));
    EXPECT_EQ(color, 0xFF002Cu);  // 300 is 44, 256 is 0, -1 is 255
    color = 0xDEADBEEF;
    EXPECT_FALSE(kv::ParseColor("255,255,", color));
    EXPECT_EQ(color, 0xDEADBEEFu);
}

TEST(ParseRect, SetsFieldByFieldUntilOneIsMissing) {
    EXPECT_EQ(Rect("10,20,200,16", true), (std::vector<int32_t>{10, 20, 210, 36}));
    EXPECT_EQ(Rect("1,2,,4,", true), (std::vector<int32_t>{1, 2, 1, 6}));
    EXPECT_EQ(Rect("", false), (std::vector<int32_t>{-1, -1, -1, -1}));
    EXPECT_EQ(Rect("5", false), (std::vector<int32_t>{5, -1, -1, -1}));
    EXPECT_EQ(Rect("5,6,7", false), (std::vector<int32_t>{5, 6, 12, -1}));
    // Sums wrap as 32-bit two's complement.
    EXPECT_EQ(Rect("2147483647,-2147483648,1,-1", true),
              (std::vector<int32_t>{INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX}));
}

TEST(ParsePoint, SetsFieldByFieldUntilOneIsMissing) {
    kv::SkinPoint point{-1, -1};
    EXPECT_FALSE(kv::ParsePoint("5", point));
    EXPECT_EQ(point.x, 5);
    EXPECT_EQ(point.y, -1);
    EXPECT_TRUE(kv::ParsePoint("5,150,9", point));
    EXPECT_EQ(point.y, 150);
}
