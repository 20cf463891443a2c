// What a download makes of the header of the answer to its ranged request.
#include "net/download_answer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct AnswerCase {
    int status;
    const char* fields;  // header lines after the status line
    int64_t offset;      // the start the request asked for
    kv::AnswerUse use;
};

const AnswerCase kCases[] = {
    {200, "Content-Length: 5\r\n", 0, kv::AnswerUse::Append},
    {200, "Content-Length: 5\r\n", 1000, kv::AnswerUse::StartOver},
    {206, "Content-Range: bytes 1000-4999/5000\r\n", 1000, kv::AnswerUse::Append},
    {206, "content-range: bytes 0-4999/5000\r\n", 0, kv::AnswerUse::Append},
    // A range from elsewhere, none, or one that cannot be read would land in the wrong place.
    {206, "Content-Range: bytes 0-4999/5000\r\n", 1000, kv::AnswerUse::WrongRange},
    {206, "Content-Range: bytes 1001-4999/5000\r\n", 1000, kv::AnswerUse::WrongRange},
    {206, "Content-Type: multipart/byteranges; boundary=x\r\n", 1000, kv::AnswerUse::WrongRange},
    {206, "Content-Range: bytes */5000\r\n", 1000, kv::AnswerUse::WrongRange},
    // Only 200 and 206 carry the file.
    {204, "", 0, kv::AnswerUse::WrongStatus},
    {301, "Location: http://host/x\r\n", 0, kv::AnswerUse::WrongStatus},
    {302, "Content-Length: 9\r\n", 1000, kv::AnswerUse::WrongStatus},
    {100, "", 0, kv::AnswerUse::WrongStatus},
    {200, "Transfer-Encoding: gzip, chunked\r\n", 0, kv::AnswerUse::UnknownCoding},
    {200, "Transfer-Encoding: Chunked\r\n", 0, kv::AnswerUse::Append},
};

TEST(JudgeDownloadAnswer, Table) {
    for (const AnswerCase& c : kCases) {
        const std::string header =
            "HTTP/1.1 " + std::to_string(c.status) + " X\r\n" + c.fields + "\r\n";
        SCOPED_TRACE(header);
        EXPECT_EQ(c.use, kv::JudgeDownloadAnswer(c.status, header, c.offset).use);
    }
}

TEST(JudgeDownloadAnswer, ChunkedFramingOutranksTheLength) {
    std::string body = "3\r\nabc\r\n0\r\n\r\n";
    kv::DownloadAnswer answer = kv::JudgeDownloadAnswer(
        200, "HTTP/1.1 200 OK\r\nContent-Length: 99\r\nTransfer-Encoding: chunked\r\n\r\n", 0);
    EXPECT_EQ(3u, answer.body.Take(body.data(), body.size()));
    EXPECT_TRUE(answer.body.Complete());
}

}  // namespace
