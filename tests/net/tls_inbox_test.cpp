// The secure connection's bookkeeping of received bytes: record boundaries, and
// plaintext handed on in pieces smaller than a record.
#include "net/tls_inbox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Record(size_t payload, char fill) {
    std::string record = {'\x17', '\x03', '\x03', static_cast<char>(payload >> 8),
                          static_cast<char>(payload & 0xFF)};
    return record + std::string(payload, fill);
}

TEST(CompleteRecordLength, OnlyWholeRecords) {
    const std::string record = Record(300, 'a');
    EXPECT_EQ(305u, kv::CompleteRecordLength(record));
    EXPECT_EQ(305u, kv::CompleteRecordLength(record + "\x17\x03"));
    EXPECT_EQ(0u, kv::CompleteRecordLength(std::string_view(record).substr(0, 304)));
    EXPECT_EQ(0u, kv::CompleteRecordLength("\x17\x03\x03\x00"));
    EXPECT_EQ(5u, kv::CompleteRecordLength(std::string("\x15\x03\x03\x00\x00", 5)));
}

TEST(CouldStartRecord, PlainTextIsNoRecord) {
    EXPECT_FALSE(kv::CouldStartRecord("HTTP/1.1 400 Bad Request\r\n"));
    EXPECT_FALSE(kv::CouldStartRecord(std::string("\x16\x02", 2)));
    EXPECT_TRUE(kv::CouldStartRecord(std::string("\x16\x03\x03", 3)));
    EXPECT_TRUE(kv::CouldStartRecord("\x15"));
}

// Plaintext lies inside its record (as in-place decryption leaves it); it is taken out in
// pieces, and the record goes only with its last byte, so the next record stays whole
// through a compaction of the buffer.
TEST(TlsInbox, PlaintextInPiecesThenNextRecord) {
    kv::TlsInbox inbox;
    const std::string bytes = Record(10, 'p') + Record(4, 'q');
    std::memcpy(inbox.Room(bytes.size()), bytes.data(), bytes.size());
    inbox.Added(bytes.size());
    const size_t first = kv::CompleteRecordLength(std::string_view(inbox.Data(), inbox.Size()));
    ASSERT_EQ(15u, first);
    inbox.SetPlain(5, 10, first);

    char out[16] = {};
    EXPECT_EQ(6u, inbox.TakePlain(out, 6));
    EXPECT_TRUE(inbox.HasPlain());
    EXPECT_EQ(bytes.size(), inbox.Size());
    EXPECT_EQ(4u, inbox.TakePlain(out + 6, 10));
    EXPECT_EQ(std::string(10, 'p'), std::string(out, 10));
    EXPECT_FALSE(inbox.HasPlain());
    ASSERT_EQ(9u, inbox.Size());

    inbox.Room(1 << 16);  // moves the kept record to the front
    EXPECT_EQ(Record(4, 'q'), std::string(inbox.Data(), inbox.Size()));
    inbox.SetPlain(5, 0, 9);  // a record without plaintext is used up at once
    EXPECT_EQ(0u, inbox.Size());
}

}  // namespace
