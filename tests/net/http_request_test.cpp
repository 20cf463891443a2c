// The exact bytes of the two request texts.
#include "net/http_request.h"

#include <gtest/gtest.h>

namespace {

TEST(PlainRequest, RequestLineThenHostOnly) {
    EXPECT_EQ("GET /Dir/File.EXE?Name=Value HTTP/1.1\r\nHost: www.example.com\r\n\r\n",
              kv::PlainRequest("/Dir/File.EXE?Name=Value", "www.example.com"));
}

TEST(PlainRequest, EmptyPathLeavesNothingBetween) {
    EXPECT_EQ("GET  HTTP/1.1\r\nHost: example.com\r\n\r\n", kv::PlainRequest("", "example.com"));
}

TEST(RangedRequest, RangeLineBetweenRequestLineAndHost) {
    EXPECT_EQ("GET /a.bin HTTP/1.1\r\nRange: bytes=0-\r\nHost: h\r\n\r\n",
              kv::RangedRequest("/a.bin", "h", 0));
    EXPECT_EQ("GET /a.bin HTTP/1.1\r\nRange: bytes=1000-\r\nHost: h\r\n\r\n",
              kv::RangedRequest("/a.bin", "h", 1000));
}

TEST(RangedRequest, OffsetBeyondFourGigabytes) {
    EXPECT_EQ("GET /big HTTP/1.1\r\nRange: bytes=4294967396-\r\nHost: h\r\n\r\n",
              kv::RangedRequest("/big", "h", INT64_C(4294967396)));
}

}  // namespace
