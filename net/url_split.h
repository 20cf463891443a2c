// Splitting an HTTP URL into the parts one exchange needs, without any name resolution.
// Plain bytes only: no system headers.
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

// False when the host carries a ":" with no "/" after it, and when the host or the path
// holds a blank or a control character (after the trimming of both ends): those would
// write lines of their own into the request. The caller reports the URL as malformed.
// A ":" in the path or the query is not a port.
bool SplitUrl(const std::string& url, UrlParts& parts);

}  // namespace kv
