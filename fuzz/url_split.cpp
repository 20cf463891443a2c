// Fuzz target: SplitUrl over any text, as a page's Init URL or a server's Location gives it.
#include "net/url_split.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string url(reinterpret_cast<const char*>(data), size);
    kv::UrlParts parts;
    if (kv::SplitUrl(url, parts)) {
        // The path is a piece of the URL as written, never text made up on the way.
        if (url.find(parts.path) == std::string::npos) __builtin_trap();
        if (parts.hostAddress != parts.hostName) __builtin_trap();
    }
    return 0;
}
