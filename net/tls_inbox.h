// The bytes a TLS connection has received from the server and not yet handed on: records
// still to be decrypted, and the plaintext of the record decrypted last, which the
// decryption leaves inside that record. Plain bytes only: no system headers.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace kv {

// The length of the first record of bytes (its 5-byte header and its payload) when the
// whole record is there, else 0.
size_t CompleteRecordLength(std::string_view bytes);

// False when bytes cannot be the start of a TLS record: a content type other than the
// five TLS knows (20 to 24), or a version whose major number is not 3. A server that
// answers in plain text (an HTTP server on the port) shows here.
bool CouldStartRecord(std::string_view bytes);

class TlsInbox {
public:
    // Room for at least want more bytes after those kept, which move to the front first.
    // Only called while no plaintext is waiting.
    char* Room(size_t want);
    size_t RoomSize() const { return storage.size() - end; }
    void Added(size_t count) { end += count; }

    // The received bytes not yet used, from the first one not consumed.
    char* Data() { return storage.data() + begin; }
    size_t Size() const { return end - begin; }
    void Consume(size_t count);

    // The first record, recordLength bytes, has been decrypted in place: its plaintext is
    // the plainLength bytes at plainOffset from Data().
    void SetPlain(size_t plainOffset, size_t plainLength, size_t recordLength);
    bool HasPlain() const { return plainLeft > 0; }
    // Copies up to capacity bytes of plaintext to out; the record is consumed when all its
    // plaintext has gone. Returns the count.
    size_t TakePlain(char* out, size_t capacity);

private:
    std::vector<char> storage;
    size_t begin = 0;
    size_t end = 0;
    size_t plainAt = 0;      // offset in storage
    size_t plainLeft = 0;
    size_t recordEnd = 0;    // offset in storage of the end of the decrypted record
};

}  // namespace kv
