// Reading the value of a Content-Range header, the place a 206 answer's bytes belong to.
// Plain bytes only: no system headers.
#pragma once

#include <cstdint>
#include <string_view>

namespace kv {

struct ContentRange {
    int64_t first = 0;
    int64_t last = 0;
    int64_t complete = -1;  // the whole file's length; -1 when the server wrote "*"
};

// "bytes FIRST-LAST/COMPLETE" or "bytes FIRST-LAST/*", blanks around the value allowed.
// False for anything else: another unit, missing or signed numbers, LAST before FIRST,
// LAST at or past COMPLETE, numbers beyond 64 bits, and "bytes */COMPLETE", which names
// no range.
bool ParseContentRange(std::string_view value, ContentRange& range);

}  // namespace kv
