// Fuzz target: the status line and header fields of a response block, as any server may send.
#include "net/http_response.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view block(reinterpret_cast<const char*>(data), size);
    const size_t headerEnd = kv::HeaderEndOf(block);
    if (headerEnd != std::string_view::npos && headerEnd > block.size()) __builtin_trap();
    if (kv::BlockText(block).size() > block.size()) __builtin_trap();
    (void)kv::StatusCodeOf(block);
    if (kv::ContentLengthOf(block) < -1) __builtin_trap();
    (void)kv::LocationOf(block);
    const std::string_view header = headerEnd == std::string_view::npos ? block : block.substr(0, headerEnd);
    if (kv::ResponseLengthOf(header) < -1) __builtin_trap();
    return 0;
}
