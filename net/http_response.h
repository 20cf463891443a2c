// Reading the fields the engine needs out of a response's header block. A block is the
// received bytes; searches that the exchange makes on text stop at the first zero byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

// ASCII letters compared without regard to case, as header names and tokens are.
bool EqualsAnyCase(std::string_view a, std::string_view b);

// The block as quoted in a failure text: up to its first zero byte.
std::string BlockText(std::string_view block);

// The status after "HTTP/1.1 " (or "http/1.1 "): exactly three digits, then a blank, a
// line end or the end of the block. -1 without such a status line (an HTTP/1.0 answer, a
// signed or short number included), -2 for an empty block.
int StatusCodeOf(std::string_view block);

// The size query's length: "Content-Length:" or "content-length:" up to its line end.
// -1 when the header or its line end is missing, and for a negative value.
int64_t ContentLengthOf(std::string_view block);

// The trimmed "Location:" value up to its line end; empty when missing.
std::string LocationOf(std::string_view block);

// Offset just past the empty line that ends the header, or npos while it has not arrived.
size_t HeaderEndOf(std::string_view block);

// The trimmed value of the header section's first line named `name` (any letter case);
// false when the section has no such line.
bool HeaderFieldOf(std::string_view header, std::string_view name, std::string& value);

// The download's length: a "Content-Length" header line of the header section in any
// letter case, its digits after the colon; -1 when there is none.
int64_t ResponseLengthOf(std::string_view header);

}  // namespace kv
