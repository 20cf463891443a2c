// Decoding the chunked transfer coding of a response body, fed the received bytes in
// pieces of any size, split anywhere. Plain bytes only: no system headers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kv {

class ChunkedDecoder {
public:
    // Decodes data[0, size) in place: the body bytes it carries end up at its front, and
    // their count is returned. Framing, extensions and trailers are dropped, and so is
    // anything after the last chunk's empty line.
    size_t Decode(char* data, size_t size);

    // The last chunk and its trailer section have arrived.
    bool Done() const { return state_ == State::Done; }
    // The framing is broken; nothing after that point is body.
    bool Failed() const { return state_ == State::Failed; }

private:
    enum class State {
        Size,          // hex digits of the chunk size
        SizeBlank,     // blanks after the size, before ";" or the line end
        Extension,     // ";name=value" up to the line end
        SizeLf,
        Data,
        DataCr,
        DataLf,
        TrailerStart,  // the start of a trailer line, or of the empty line that ends all
        Trailer,
        TrailerLf,
        EndLf,
        Done,
        Failed,
    };

    // One framing byte; false when it breaks the framing.
    bool Step(char c);

    State state_ = State::Size;
    uint64_t value_ = 0;  // the size being read, then what is left of the chunk's data
    bool sawDigit_ = false;
};

}  // namespace kv
