// Fuzz target: the Content-Range value of a 206 answer, as any server may write it. What is
// accepted is a real range inside the file, and reads back the same when written again.
#include "net/content_range.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string value(reinterpret_cast<const char*>(data), size);
    kv::ContentRange range;
    if (!kv::ParseContentRange(value, range)) return 0;
    if (range.first < 0 || range.last < range.first) __builtin_trap();
    if (range.complete != -1 && range.last >= range.complete) __builtin_trap();
    const std::string again = "bytes " + std::to_string(range.first) + "-" + std::to_string(range.last) + "/" +
                              (range.complete == -1 ? std::string("*") : std::to_string(range.complete));
    kv::ContentRange reread;
    if (!kv::ParseContentRange(again, reread)) __builtin_trap();
    if (reread.first != range.first || reread.last != range.last || reread.complete != range.complete)
        __builtin_trap();
    return 0;
}
