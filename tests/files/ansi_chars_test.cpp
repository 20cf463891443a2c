#include "base/ansi_chars.h"

#include "base/codepage.h"

#include <gtest/gtest.h>

using kv::EndsWithBackslash;
using kv::NextCharOffset;
using kv::SeparatorOffsets;

TEST(AnsiChars, KoreanLiteralsAreCodePage949) {
    // The folder names of the tests below must reach the file system as these characters.
    EXPECT_EQ(std::string("스킨"), "\xBD\xBA\xC5\xB2");
    EXPECT_EQ(kv::AnsiToWide("스킨\\파란색"), L"스킨\\파란색");
}

TEST(AnsiChars, DoubleByteCharactersAreStepsOfTwo) {
    const std::string text = "a스킨\\";
    EXPECT_EQ(NextCharOffset(text, 0), 1u);
    EXPECT_EQ(NextCharOffset(text, 1), 3u);
    EXPECT_EQ(NextCharOffset(text, 3), 5u);
    EXPECT_EQ(NextCharOffset(text, 5), 6u);
    EXPECT_EQ(NextCharOffset(text, 6), 6u);
}

TEST(AnsiChars, LeadByteAtTheEndIsOneCharacter) {
    EXPECT_EQ(NextCharOffset(std::string("a\xB0"), 1), 2u);
}

TEST(AnsiChars, TrailByteIsNeverASeparator) {
    // 0xB0 is a lead byte in code page 949, so the 0x5C after it belongs to it; a real
    // backslash follows.
    const std::string text = "\xB0\x5C\\x";
    EXPECT_EQ(SeparatorOffsets(text, false), (std::vector<size_t>{2}));
    EXPECT_TRUE(EndsWithBackslash("\xB0\x5C\\"));
    EXPECT_FALSE(EndsWithBackslash("\xB0\x5C"));
}

TEST(AnsiChars, SlashesCountOnlyWhenAsked) {
    EXPECT_EQ(SeparatorOffsets("a/b\\c", false), (std::vector<size_t>{3}));
    EXPECT_EQ(SeparatorOffsets("a/b\\c", true), (std::vector<size_t>{1, 3}));
    EXPECT_FALSE(EndsWithBackslash(""));
    EXPECT_FALSE(EndsWithBackslash("a/"));
}
