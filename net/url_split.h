// Splitting an HTTP URL into the parts one exchange needs, without any name resolution.
// Plain bytes only: no system headers.
#pragma once

#include <cstdint>
#include <string>

namespace kv {

struct UrlParts {
    std::string hostName;     // lower case, goes into the Host line
    std::string hostAddress;  // what to resolve; equal to hostName until resolution
    uint16_t port = 80;       // 443 for a secure URL unless the URL gives one
    bool secure = false;      // the host follows "https://": the exchange speaks TLS
    std::string path;         // as written, query included; empty without a "/" after the host
};

// False when the host carries a ":" with no "/" after it, and when the host or the path
// holds a blank or a control character (after the trimming of both ends): those would
// write lines of their own into the request. The caller reports the URL as malformed.
// A ":" in the path or the query is not a port.
// The scheme is the one whose "//" starts the host: a URL is secure when its first "//" is
// that of "https://". Otherwise the first "http://" anywhere in the text governs the port as
// it always has, so a plain URL splits exactly as before; an "https://" further on (in a
// query, say) changes nothing, and an "http://" after a leading "https://" cannot make it
// plain.
bool SplitUrl(const std::string& url, UrlParts& parts);

}  // namespace kv
