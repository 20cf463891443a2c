// The chunked decoder fed in pieces split anywhere, and the body framings over it.
#include "net/chunked_decoder.h"
#include "net/response_body.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kEncoded =
    "4;name=\"quoted;value\"\r\nWiki\r\n"
    "5 ; x\r\npedia\r\n"
    "E\r\n in\r\n\r\nchunks.\r\n"
    "0\r\nExpires: never\r\nX: y\r\n\r\n";
const std::string kDecoded = "Wikipedia in\r\n\r\nchunks.";

// Feeds `encoded` in pieces of the given cuts; returns the decoded bytes.
std::string DecodeInPieces(kv::ChunkedDecoder& decoder, std::string encoded, size_t cut1, size_t cut2) {
    std::string decoded;
    const size_t cuts[] = {0, cut1, cut2, encoded.size()};
    for (int i = 0; i < 3; ++i) {
        std::string piece = encoded.substr(cuts[i], cuts[i + 1] - cuts[i]);
        decoded.append(piece.data(), decoder.Decode(piece.data(), piece.size()));
    }
    return decoded;
}

TEST(ChunkedDecoder, SameBodyWhereverThePiecesAreCut) {
    for (size_t cut1 = 0; cut1 <= kEncoded.size(); ++cut1) {
        for (size_t cut2 = cut1; cut2 <= kEncoded.size(); cut2 += 7) {
            kv::ChunkedDecoder decoder;
            ASSERT_EQ(kDecoded, DecodeInPieces(decoder, kEncoded, cut1, cut2)) << cut1 << " " << cut2;
            ASSERT_TRUE(decoder.Done());
        }
    }
}

TEST(ChunkedDecoder, BytesAfterTheLastChunkAreNotBody) {
    kv::ChunkedDecoder decoder;
    std::string piece = "3\r\nabc\r\n0\r\n\r\nHTTP/1.1 200 OK\r\n";
    EXPECT_EQ(3u, decoder.Decode(piece.data(), piece.size()));
    EXPECT_EQ("abc", piece.substr(0, 3));
    EXPECT_TRUE(decoder.Done());
}

TEST(ChunkedDecoder, BrokenFramingFails) {
    const char* const kBroken[] = {
        "\r\n",                      // no size at all
        "g\r\n",                     // not hex
        "-5\r\nhello\r\n",           // signed
        "5\nhello\r\n",              // bare line feed
        "5\r\nhelloX\r\n",           // data longer than its size
        "3;ext\n",                   // line feed inside the size line
        "8000000000000000\r\n",      // beyond a signed 64-bit count
        "0\r\nTrailer\n",            // bare line feed in the trailer
        "3\r\nabc\r\n\r\n\r\n",         // an empty size line after a chunk is not the last
    };
    for (const char* text : kBroken) {
        kv::ChunkedDecoder decoder;
        std::string piece = text;
        decoder.Decode(piece.data(), piece.size());
        EXPECT_TRUE(decoder.Failed()) << text;
        EXPECT_FALSE(decoder.Done()) << text;
    }
}

TEST(ResponseBody, LengthDropsTheExcessAndOnlyAFinishedChunkedBodySurvivesAClose) {
    std::string piece = "helloEXTRA";
    kv::ResponseBody length = kv::ResponseBody::OfLength(5);
    EXPECT_EQ(5u, length.Take(piece.data(), piece.size()));
    EXPECT_TRUE(length.Complete());

    kv::ResponseBody chunked = kv::ResponseBody::Chunked();
    std::string cut = "5\r\nhel";
    EXPECT_EQ(3u, chunked.Take(cut.data(), cut.size()));
    EXPECT_FALSE(chunked.WholeAtClose());
    EXPECT_TRUE(kv::ResponseBody::UntilClose().WholeAtClose());
}

}  // namespace
