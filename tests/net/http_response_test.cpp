// Header fields read out of response blocks, and the failure texts the members set.
#include "base/codepage.h"
#include "net/http_downloader.h"
#include "net/http_response.h"
#include "net/last_error.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(StatusCodeOf, ReadsTheCodeAfterTheVersion) {
    EXPECT_EQ(200, kv::StatusCodeOf("HTTP/1.1 200 OK\r\n\r\n"));
    EXPECT_EQ(206, kv::StatusCodeOf("HTTP/1.1 206 Partial Content\r\nContent-Length: 3\r\n\r\nabc"));
    EXPECT_EQ(404, kv::StatusCodeOf("http/1.1 404 Not Found\r\n\r\n"));
    EXPECT_EQ(301, kv::StatusCodeOf("HTTP/1.1 301\r\n"));
}

TEST(StatusCodeOf, RefusesOtherVersionsAndEmptyBlocks) {
    EXPECT_EQ(-1, kv::StatusCodeOf("HTTP/1.0 200 OK\r\n\r\n"));
    EXPECT_EQ(-1, kv::StatusCodeOf("garbage"));
    EXPECT_EQ(-2, kv::StatusCodeOf(""));
    // A block cut inside the version is no status line yet.
    EXPECT_EQ(-1, kv::StatusCodeOf("HTTP/1."));
}

TEST(StatusCodeOf, OnlyThreeDigitsFormACode) {
    EXPECT_EQ(-1, kv::StatusCodeOf("HTTP/1.1 -5 Odd\r\n\r\n"));
    EXPECT_EQ(-1, kv::StatusCodeOf("HTTP/1.1 -2\r\n\r\n"));
    EXPECT_EQ(-1, kv::StatusCodeOf("HTTP/1.1 +20 OK\r\n\r\n"));
    EXPECT_EQ(-1, kv::StatusCodeOf("HTTP/1.1 2000 OK\r\n\r\n"));
    EXPECT_EQ(-1, kv::StatusCodeOf("HTTP/1.1 20\r\n\r\n"));
    EXPECT_EQ(-1, kv::StatusCodeOf("HTTP/1.1  200 OK\r\n\r\n"));
    EXPECT_EQ(200, kv::StatusCodeOf("HTTP/1.1 200"));
}

TEST(HeaderFieldOf, AnyCaseWithinTheHeaderOnly) {
    const std::string header =
        "HTTP/1.1 206 X\r\ncontent-RANGE:  bytes 1-2/3 \r\nX: y\r\n\r\nTransfer-Encoding: chunked\r\n";
    std::string value;
    ASSERT_TRUE(kv::HeaderFieldOf(header, "Content-Range", value));
    EXPECT_EQ("bytes 1-2/3", value);
    EXPECT_FALSE(kv::HeaderFieldOf(header, "Transfer-Encoding", value)) << "that line is body";
    EXPECT_FALSE(kv::HeaderFieldOf(header, "Range", value));
}

TEST(GetStatusCode, HttpOneZeroSetsTheTextWithTheBlock) {
    CHttpDownloaderEx downloader;
    lastErrorCode = 0;
    const std::string block = "HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nhi";
    EXPECT_EQ(-1, downloader.GetStatusCode(block.data(), static_cast<int>(block.size())));
    EXPECT_EQ(-1, lastErrorCode);
    EXPECT_EQ(L"HTTP 응답 코드를 분석할 수 없습니다.\r\nHTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nhi",
              kv::AnsiToWide(lastErrorText));
}

TEST(GetStatusCode, QuotedBlockStopsAtZeroByte) {
    CHttpDownloaderEx downloader;
    const std::string block = "HTTP/1.0 500\r\n\0binary"s;
    EXPECT_EQ(-1, downloader.GetStatusCode(block.data(), static_cast<int>(block.size())));
    EXPECT_EQ(L"HTTP 응답 코드를 분석할 수 없습니다.\r\nHTTP/1.0 500\r\n",
              kv::AnsiToWide(lastErrorText));
}

TEST(GetStatusCode, SuccessLeavesTheLastErrorAlone) {
    CHttpDownloaderEx downloader;
    lastErrorCode = 12345;
    lastErrorText = "previous";
    const std::string block = "HTTP/1.1 404 Not Found\r\n\r\n";
    EXPECT_EQ(404, downloader.GetStatusCode(block.data(), static_cast<int>(block.size())));
    EXPECT_EQ(12345, lastErrorCode);
    EXPECT_EQ("previous", lastErrorText);
}

TEST(IsErrorStatus, NegativeAndFourHundredUp) {
    EXPECT_TRUE(CHttpDownloaderEx::IsErrorStatus(-2));
    EXPECT_TRUE(CHttpDownloaderEx::IsErrorStatus(-1));
    EXPECT_FALSE(CHttpDownloaderEx::IsErrorStatus(0));
    EXPECT_FALSE(CHttpDownloaderEx::IsErrorStatus(100));
    EXPECT_FALSE(CHttpDownloaderEx::IsErrorStatus(302));
    EXPECT_FALSE(CHttpDownloaderEx::IsErrorStatus(399));
    EXPECT_TRUE(CHttpDownloaderEx::IsErrorStatus(400));
    EXPECT_TRUE(CHttpDownloaderEx::IsErrorStatus(416));
}

TEST(ContentLengthOf, TwoSpellingsOnly) {
    EXPECT_EQ(1234, kv::ContentLengthOf("HTTP/1.1 200 OK\r\nContent-Length: 1234\r\n\r\n"));
    EXPECT_EQ(77, kv::ContentLengthOf("HTTP/1.1 200 OK\r\ncontent-length:77 \r\n\r\n"));
    EXPECT_EQ(-1, kv::ContentLengthOf("HTTP/1.1 200 OK\r\nContent-length: 5\r\n\r\n"));
    EXPECT_EQ(-1, kv::ContentLengthOf("HTTP/1.1 200 OK\r\nCONTENT-LENGTH: 5\r\n\r\n"));
}

TEST(ContentLengthOf, NeedsItsLineEndAndANonNegativeValue) {
    EXPECT_EQ(-1, kv::ContentLengthOf("HTTP/1.1 200 OK\r\nContent-Length: 5"));
    EXPECT_EQ(-1, kv::ContentLengthOf("HTTP/1.1 200 OK\r\nContent-Length: -7\r\n\r\n"));
    EXPECT_EQ(INT64_C(4296015872),
              kv::ContentLengthOf("HTTP/1.1 200 OK\r\nContent-Length: 4296015872\r\n\r\n"));
}

TEST(GetContentLength, MissingHeaderSetsTheTextWithTheBlock) {
    CHttpDownloaderEx downloader;
    const std::string block = "HTTP/1.1 200 OK\r\nContent-length: 5\r\n\r\n";
    EXPECT_EQ(-1, downloader.GetContentLength(block.data(), static_cast<int>(block.size())));
    EXPECT_EQ(-1, lastErrorCode);
    EXPECT_EQ(L"지정된 파일의 크기를 알 수가 없습니다.\r\nHTTP/1.1 200 OK\r\nContent-length: 5\r\n\r\n",
              kv::AnsiToWide(lastErrorText));
}

TEST(ResponseLengthOf, AnyCaseWithinTheHeaderOnly) {
    EXPECT_EQ(12, kv::ResponseLengthOf("HTTP/1.1 200 OK\r\nCONTENT-LENGTH: 12\r\n\r\n"));
    EXPECT_EQ(12, kv::ResponseLengthOf("HTTP/1.1 206 OK\r\ncontent-length:12\r\n\r\n"));
    EXPECT_EQ(-1, kv::ResponseLengthOf("HTTP/1.1 200 OK\r\nX: y\r\n\r\nContent-Length: 99\r\n"));
    EXPECT_EQ(-1, kv::ResponseLengthOf("HTTP/1.1 200 OK\r\nContent-Length: none\r\n\r\n"));
    EXPECT_EQ(-1, kv::ResponseLengthOf("HTTP/1.1 200 OK\r\nX-Content-Length: 5\r\n\r\n"));
    EXPECT_EQ(INT64_C(4296015872),
              kv::ResponseLengthOf("HTTP/1.1 200 OK\r\nContent-Length: 4296015872\r\n\r\n"));
}

TEST(HeaderEndOf, OffsetPastTheEmptyLine) {
    EXPECT_EQ(19u, kv::HeaderEndOf("HTTP/1.1 200 OK\r\n\r\nbody"));
    EXPECT_EQ(std::string::npos, kv::HeaderEndOf("HTTP/1.1 200 OK\r\nContent-Le"));
    EXPECT_EQ(std::string::npos, kv::HeaderEndOf("HTTP/1.1 200 OK\r\n\r"));
}

TEST(LocationOf, TrimmedValueUpToTheLineEnd) {
    EXPECT_EQ("http://127.0.0.1:8080/new.bin",
              kv::LocationOf("HTTP/1.1 301 Moved\r\nLocation:  http://127.0.0.1:8080/new.bin \r\n\r\n"));
    EXPECT_EQ("/relative", kv::LocationOf("HTTP/1.1 301 Moved\r\nLocation: /relative\r\n\r\n"));
    EXPECT_EQ("", kv::LocationOf("HTTP/1.1 301 Moved\r\nLocation: http://cut"));
    EXPECT_EQ("", kv::LocationOf("HTTP/1.1 301 Moved\r\nlocation: http://x/\r\n\r\n"));
}

}  // namespace
