// Fuzz target: ResolveLocation over any URL and any Location a server may send, the two
// split at the first newline of the input.
#include "net/location_resolve.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t newline = input.find('\n');
    const std::string base = input.substr(0, newline);
    const std::string location = newline == std::string::npos ? std::string() : input.substr(newline + 1);
    const std::string resolved = kv::ResolveLocation(base, location);
    if (location.empty() != resolved.empty()) __builtin_trap();
    // A path from the root keeps the old URL's scheme and host, whatever dot segments it has.
    if (location[0] == '/' && location.compare(0, 2, "//") != 0) {
        const size_t slashes = base.find("//");
        const size_t hostEnd = base.find('/', slashes == std::string::npos ? 0 : slashes + 2);
        const std::string origin = base.substr(0, hostEnd);
        if (resolved.compare(0, origin.size(), origin) != 0) __builtin_trap();
        if (resolved.size() <= origin.size() || resolved[origin.size()] != '/') __builtin_trap();
        // Resolving the result's own path again changes nothing: no dot segment is left.
        // (A path that came out as "//..." would read as a host the second time.)
        const std::string path = resolved.substr(origin.size());
        if (path.compare(0, 2, "//") != 0 && kv::ResolveLocation(base, path) != resolved)
            __builtin_trap();
    }
    return 0;
}
