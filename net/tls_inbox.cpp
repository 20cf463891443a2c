#include "net/tls_inbox.h"

#include <cstring>

namespace kv {

size_t CompleteRecordLength(std::string_view bytes) {
    constexpr size_t kHeader = 5;
    if (bytes.size() < kHeader) return 0;
    const size_t length = kHeader + ((static_cast<size_t>(static_cast<unsigned char>(bytes[3])) << 8) |
                                     static_cast<unsigned char>(bytes[4]));
    return bytes.size() >= length ? length : 0;
}

bool CouldStartRecord(std::string_view bytes) {
    if (bytes.empty()) return true;
    const auto type = static_cast<unsigned char>(bytes[0]);
    if (type < 20 || type > 24) return false;
    return bytes.size() < 2 || bytes[1] == 3;
}

char* TlsInbox::Room(size_t want) {
    if (begin > 0) {
        std::memmove(storage.data(), storage.data() + begin, end - begin);
        end -= begin;
        begin = 0;
    }
    if (storage.size() - end < want) storage.resize(end + want);
    return storage.data() + end;
}

void TlsInbox::Consume(size_t count) {
    begin += count;
    if (begin == end) begin = end = 0;
}

void TlsInbox::SetPlain(size_t plainOffset, size_t plainLength, size_t recordLength) {
    plainAt = begin + plainOffset;
    plainLeft = plainLength;
    recordEnd = begin + recordLength;
    // A record without plaintext (padding, an alert already handled) is used up at once.
    if (plainLeft == 0) Consume(recordLength);
}

size_t TlsInbox::TakePlain(char* out, size_t capacity) {
    const size_t count = plainLeft < capacity ? plainLeft : capacity;
    if (count > 0) std::memcpy(out, storage.data() + plainAt, count);
    plainAt += count;
    plainLeft -= count;
    if (plainLeft == 0) Consume(recordEnd - begin);
    return count;
}

}  // namespace kv
