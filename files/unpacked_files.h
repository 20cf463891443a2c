// The files an unpacking has just written, with their bytes, for whoever reads some of them
// back at once: a skin's pictures are decoded right after the archive is unpacked, and under
// Wine opening, measuring and closing each file again cost more than decoding it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

// A file as an extraction wrote it: its bytes, and its index on its volume, which tells two
// names of one file (another case, a short name) from two files. The files of one extraction
// lie below one folder; should one lie on another volume, an index shared by chance only
// makes a kept file be read from disk after all.
struct WrittenFile {
    // A larger file is written without a copy of its bytes.
    static constexpr size_t kCopyLimit = 32u << 20;

    std::vector<uint8_t> bytes;
    bool whole = false;  // the bytes are all of the file
    uint64_t index = 0;
    bool identified = false;
};

class UnpackedFiles {
public:
    // At most `budget` bytes are kept in all; a file beyond it is read from disk later.
    explicit UnpackedFiles(size_t budget = WrittenFile::kCopyLimit) : budget_(budget) {}

    // `path` was just written with `file`: whatever was kept for that file, by this or any
    // other name, is stale now. A file whose identity is unknown could be any kept one, so
    // nothing is kept from then on.
    void Keep(const std::string& path, WrittenFile file);
    // The bytes last written under exactly `path`, or null: then the file is to be read.
    const std::vector<uint8_t>* Find(const std::string& path) const;

private:
    struct Kept {
        std::string path;
        WrittenFile file;
    };
    std::vector<Kept> kept_;
    size_t budget_;
    size_t total_ = 0;
    bool closed_ = false;
};

}  // namespace kv
