// Where a response body ends: at its length, at the last chunk of the chunked coding, or
// when the server closes. Takes received pieces and says which bytes belong to the file.
// Plain bytes only: no system headers.
#pragma once

#include "net/chunked_decoder.h"

#include <cstddef>
#include <cstdint>

namespace kv {

class ResponseBody {
public:
    static ResponseBody UntilClose() { return ResponseBody(Framing::UntilClose, 0); }
    static ResponseBody OfLength(int64_t length) { return ResponseBody(Framing::Length, length); }
    static ResponseBody Chunked() { return ResponseBody(Framing::Chunked, 0); }

    ResponseBody() : ResponseBody(Framing::UntilClose, 0) {}

    // Leaves the file's bytes of one received piece at its front and returns their count;
    // bytes past the body's end are dropped.
    size_t Take(char* piece, size_t size);

    // Everything the framing announced has arrived (never, when the close ends the body).
    bool Complete() const;
    // The chunked framing is broken.
    bool Malformed() const { return chunks_.Failed(); }
    // A close by the server now leaves the body whole.
    bool WholeAtClose() const { return framing_ == Framing::UntilClose || Complete(); }

private:
    enum class Framing { UntilClose, Length, Chunked };

    ResponseBody(Framing framing, int64_t length) : framing_(framing), left_(length) {}

    Framing framing_;
    int64_t left_;  // bytes still to come with a length
    ChunkedDecoder chunks_;
};

}  // namespace kv
