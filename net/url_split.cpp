#include "net/url_split.h"

#include "base/ansi_text.h"

namespace kv {
namespace {

// Bytes of code page 949 characters are all above 0x40, so a byte test is enough.
bool HasBlankOrControl(const std::string& text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) return true;
    }
    return false;
}

}  // namespace

bool SplitUrl(const std::string& url, UrlParts& parts) {
    parts.port = 80;
    parts.secure = false;
    parts.path = url;
    std::string work = LowerAnsi(url);

    const size_t secureAt = work.find("https://");
    parts.secure = secureAt != std::string::npos && work.find("//") == secureAt + 6;
    if (parts.secure) parts.port = 443;
    size_t hostStart = std::string::npos;
    if (parts.secure) {
        hostStart = secureAt + 8;
    } else if (const size_t at = work.find("http://"); at != std::string::npos) {
        hostStart = at + 7;
    } else if (secureAt != std::string::npos) {
        hostStart = secureAt + 8;
    }
    if (hostStart != std::string::npos) {
        const size_t hostPartEnd = work.find('/', hostStart);
        const size_t colon = work.find(':', hostStart);
        if (colon != std::string::npos && colon < hostPartEnd) {
            const size_t slash = work.find('/', colon);
            if (slash == std::string::npos) return false;
            const std::string portText = work.substr(colon + 1, slash - colon - 1);
            // Only the port itself goes: the same text further on belongs to the path.
            work.erase(colon, slash - colon);
            parts.port = static_cast<uint16_t>(LeadingInt64(portText));
        }
    }

    const size_t slashes = work.find("//");
    const size_t start = slashes == std::string::npos ? 0 : slashes + 2;
    size_t end = work.find('/', start);
    if (end == std::string::npos) end = work.size();
    parts.hostName = TrimBlanks(std::string_view(work).substr(start, end - start));
    parts.hostAddress = parts.hostName;

    // The written URL still holds the port text that the working copy has lost, so its
    // first "/" at or after the host end is the one that ends host and port.
    const size_t pathStart = url.find('/', end);
    parts.path = pathStart == std::string::npos
                     ? std::string()
                     : TrimBlanks(std::string_view(url).substr(pathStart, work.size() - end));
    return !HasBlankOrControl(parts.hostName) && !HasBlankOrControl(parts.path);
}

}  // namespace kv
