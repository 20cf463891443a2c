#include "skin/skin_values.h"

#include <gtest/gtest.h>

#include <limits>

using kv::FieldToInt;
using kv::ParseColor;
using kv::ParsePoint;
using kv::ParseRect;
using kv::SkinPoint;
using kv::SkinRect;
using kv::SplitString;

namespace {

std::vector<std::string> Split(const std::string& text, char delimiter = ',') {
    std::vector<std::string> fields = {"left over from before"};
    const int count = SplitString(text, delimiter, fields);
    EXPECT_EQ(count, static_cast<int>(fields.size()));
    return fields;
}

using Fields = std::vector<std::string>;

}  // namespace

TEST(SplitString, EmptyFieldsCountExceptAtTheEnd) {
    EXPECT_EQ(Split("1,,3"), (Fields{"1", "", "3"}));
    EXPECT_EQ(Split("1,2,"), (Fields{"1", "2"}));
    EXPECT_EQ(Split(""), Fields{});
    EXPECT_EQ(Split(","), Fields{""});
    EXPECT_EQ(Split(" 10 , 20 "), (Fields{" 10 ", " 20 "}));
}

TEST(SplitString, TrailByteIsNeverTheDelimiter) {
    // No code page 949 trail byte is a comma; "갂" is 0x81 0x41, whose trail byte is 'A'.
    ASSERT_EQ(std::string("갂"), "\x81\x41");
    EXPECT_EQ(Split("갂A갂", 'A'), (Fields{"갂", "갂"}));
    EXPECT_EQ(Split("스킨,갂,", ','), (Fields{"스킨", "갂"}));
}

TEST(FieldToInt, FollowsAtoi) {
    EXPECT_EQ(FieldToInt("10 px"), 10);
    EXPECT_EQ(FieldToInt("  -7"), -7);
    EXPECT_EQ(FieldToInt("+8x"), 8);
    EXPECT_EQ(FieldToInt(" "), 0);
    EXPECT_EQ(FieldToInt(""), 0);
    EXPECT_EQ(FieldToInt("x"), 0);
    EXPECT_EQ(FieldToInt("- 5"), 0);
}

TEST(FieldToInt, SaturatesBeyond32Bits) {
    EXPECT_EQ(FieldToInt("2147483647"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(FieldToInt("2147483648"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(FieldToInt("-2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(FieldToInt("-99999999999999999999999"), std::numeric_limits<int32_t>::min());
}

TEST(ParseColor, RedGreenBlueOfTheLow8Bits) {
    uint32_t color = 0;
    EXPECT_TRUE(ParseColor("255,0,0", color));
    EXPECT_EQ(color, 0x0000FFu);
    EXPECT_TRUE(ParseColor("1,2,3,4", color));
    EXPECT_EQ(color, 0x030201u);
    EXPECT_TRUE(ParseColor("300,256,-1", color));
    EXPECT_EQ(color, 0xFF002Cu);  // 300 is 44, 256 is 0, -1 is 255
}

TEST(ParseColor, TooFewFieldsFailAndLeaveTheColour) {
    uint32_t color = 0xDEADBEEF;
    EXPECT_FALSE(ParseColor("255,255", color));
    EXPECT_FALSE(ParseColor("255,255,", color));
    EXPECT_FALSE(ParseColor("", color));
    EXPECT_EQ(color, 0xDEADBEEFu);
}

TEST(ParseRect, WidthAndHeightBecomeRightAndBottom) {
    SkinRect rect;
    EXPECT_TRUE(ParseRect("10,20,200,16", rect));
    EXPECT_EQ((std::vector<int32_t>{rect.left, rect.top, rect.right, rect.bottom}),
              (std::vector<int32_t>{10, 20, 210, 36}));
    EXPECT_TRUE(ParseRect("1,2,,4,", rect));
    EXPECT_EQ((std::vector<int32_t>{rect.left, rect.top, rect.right, rect.bottom}),
              (std::vector<int32_t>{1, 2, 1, 6}));
}

TEST(ParseRect, StopsFieldByField) {
    const auto parse = [](const std::string& value) {
        SkinRect rect{-1, -1, -1, -1};
        EXPECT_FALSE(ParseRect(value, rect)) << value;
        return std::vector<int32_t>{rect.left, rect.top, rect.right, rect.bottom};
    };
    EXPECT_EQ(parse(""), (std::vector<int32_t>{-1, -1, -1, -1}));
    EXPECT_EQ(parse("5"), (std::vector<int32_t>{5, -1, -1, -1}));
    EXPECT_EQ(parse("5,6"), (std::vector<int32_t>{5, 6, -1, -1}));
    EXPECT_EQ(parse("5,6,7"), (std::vector<int32_t>{5, 6, 12, -1}));
}

TEST(ParseRect, SumsWrapAs32Bits) {
    SkinRect rect;
    EXPECT_TRUE(ParseRect("2147483647,-2147483648,1,-1", rect));
    EXPECT_EQ(rect.right, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(rect.bottom, std::numeric_limits<int32_t>::max());
}

TEST(ParsePoint, StopsFieldByField) {
    SkinPoint point{-1, -1};
    EXPECT_FALSE(ParsePoint("", point));
    EXPECT_EQ(point.x, -1);
    EXPECT_FALSE(ParsePoint("5", point));
    EXPECT_EQ(point.x, 5);
    EXPECT_EQ(point.y, -1);
    EXPECT_TRUE(ParsePoint("5,150,9", point));
    EXPECT_EQ(point.y, 150);
}
