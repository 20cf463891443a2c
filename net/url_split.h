// Splitting an HTTP URL into the parts one exchange needs, without any name resolution.
#pragma once

#include <cstdint>
#include <string>

namespace kv {

struct UrlParts {
    std::string hostName;     // lower case, goes into the Host line
    std::string hostAddress;  // what to resolve; equal to hostName until resolution
    uint16_t port = 80;       // "https://" also means 80: the engine speaks plain text only
    std::string path;         // as written, query included; empty without a "/" after the host
};

// False when the host carries a ":" with no "/" after it (the caller reports the URL as
// malformed). A ":" in the path or the query is not a port.
bool SplitUrl(const std::string& url, UrlParts& parts);

}  // namespace kv
