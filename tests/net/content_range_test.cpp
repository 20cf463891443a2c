// Content-Range values: the ranges a 206 answer may name, and what is refused.
#include "net/content_range.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseContentRange, ReadsFirstLastAndComplete) {
    kv::ContentRange range;
    ASSERT_TRUE(kv::ParseContentRange(" bytes 1000-4999/5000 ", range));
    EXPECT_EQ(1000, range.first);
    EXPECT_EQ(4999, range.last);
    EXPECT_EQ(5000, range.complete);
    ASSERT_TRUE(kv::ParseContentRange("Bytes 0-0/*", range));
    EXPECT_EQ(-1, range.complete);
    ASSERT_TRUE(kv::ParseContentRange("bytes 4294967296-4295015871/4295015872", range));
    EXPECT_EQ(INT64_C(4294967296), range.first);
}

TEST(ParseContentRange, RefusesWhatNamesNoPlace) {
    const char* const kRefused[] = {
        "", "bytes", "bytes */5000", "items 0-4/5", "bytes0-4/5", "bytes -1-4/5",
        "bytes 5-4/10", "bytes 0-5/5", "bytes 0-4", "bytes 0-4/5x", "bytes 0-4/",
        "bytes 99999999999999999999-1/2",
    };
    for (const char* value : kRefused) {
        kv::ContentRange range;
        EXPECT_FALSE(kv::ParseContentRange(value, range)) << value;
    }
}

}  // namespace
