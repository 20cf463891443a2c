// Fuzz target: the chunked body decoder over any bytes, fed whole and fed in two pieces split
// where the input's first byte says. Both feeds must give the same body and the same end: a
// body must never depend on where the network happened to cut it.
#include "net/chunked_decoder.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

struct Outcome {
    std::string body;
    bool done = false;
    bool failed = false;
};

Outcome Feed(std::string input, size_t cut) {
    kv::ChunkedDecoder decoder;
    Outcome outcome;
    for (auto piece : {input.substr(0, cut), input.substr(cut)}) {
        const size_t kept = decoder.Decode(piece.data(), piece.size());
        if (kept > piece.size()) __builtin_trap();
        outcome.body.append(piece.data(), kept);
    }
    outcome.done = decoder.Done();
    outcome.failed = decoder.Failed();
    return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const Outcome whole = Feed(input, input.size());
    const Outcome split = Feed(input, data[0] % (input.size() + 1));
    if (whole.failed != split.failed || whole.done != split.done) __builtin_trap();
    if (!whole.failed && whole.body != split.body) __builtin_trap();
    if (whole.done && whole.failed) __builtin_trap();
    return 0;
}
