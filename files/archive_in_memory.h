// An archive file read whole into memory, with minizip's file functions over it: minizip
// reads the central directory and each local header a few bytes at a time, and from the file
// every one of those reads is a system call of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct zlib_filefunc64_def_s;

namespace kv {

class ArchiveInMemory {
public:
    // Reads the file (other readers allowed, as minizip opens it); false when it cannot be
    // opened or read, or holds more than `limit` bytes.
    bool Load(const std::string& path, uint64_t limit);
    // minizip's functions over the bytes, for this object's lifetime.
    void FillFunctions(zlib_filefunc64_def_s& functions);

    const std::vector<uint8_t>& bytes() const { return bytes_; }
    uint64_t position = 0;

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace kv
