#include "net/http_response.h"

#include "base/ansi_text.h"

namespace kv {

std::string BlockText(std::string_view block) {
    return std::string(block.substr(0, block.find('\0')));
}

int StatusCodeOf(std::string_view block) {
    if (block.empty()) return -2;
    size_t at = block.find("HTTP/1.1");
    if (at == std::string_view::npos) at = block.find("http/1.1");
    if (at == std::string_view::npos) return -1;
    const std::string_view code = at + 9 <= block.size() ? block.substr(at + 9, 3) : "";
    return static_cast<int>(LeadingInt64(TrimBlanks(code)));
}

int64_t ContentLengthOf(std::string_view block) {
    const std::string_view text = std::string_view(block).substr(0, block.find('\0'));
    constexpr std::string_view kName = "Content-Length:";
    size_t at = text.find(kName);
    if (at == std::string_view::npos) at = text.find("content-length:");
    if (at == std::string_view::npos) return -1;
    const size_t valueStart = at + kName.size();
    const size_t lineEnd = text.find("\r\n", valueStart);
    if (lineEnd == std::string_view::npos) return -1;
    const int64_t length = LeadingInt64(TrimBlanks(text.substr(valueStart, lineEnd - valueStart)));
    return length < 0 ? -1 : length;
}

std::string LocationOf(std::string_view block) {
    const std::string_view text = block.substr(0, block.find('\0'));
    constexpr std::string_view kName = "Location:";
    const size_t at = text.find(kName);
    if (at == std::string_view::npos) return {};
    const size_t valueStart = at + kName.size();
    const size_t lineEnd = text.find("\r\n", valueStart);
    if (lineEnd == std::string_view::npos) return {};
    return TrimBlanks(text.substr(valueStart, lineEnd - valueStart));
}

size_t HeaderEndOf(std::string_view block) {
    const size_t at = block.find("\r\n\r\n");
    return at == std::string_view::npos ? std::string_view::npos : at + 4;
}

int64_t ResponseLengthOf(std::string_view header) {
    constexpr std::string_view kName = "content-length:";
    size_t lineStart = header.find("\r\n");
    while (lineStart != std::string_view::npos) {
        lineStart += 2;
        size_t lineEnd = header.find("\r\n", lineStart);
        if (lineEnd == std::string_view::npos) lineEnd = header.size();
        const std::string_view line = header.substr(lineStart, lineEnd - lineStart);
        if (line.empty()) break;  // the empty line: the body follows
        if (line.size() >= kName.size() && LowerAnsi(line.substr(0, kName.size())) == kName) {
            const std::string value = TrimBlanks(line.substr(kName.size()));
            if (value.empty() || value[0] < '0' || value[0] > '9') return -1;
            return LeadingInt64(value);
        }
        if (lineEnd == header.size()) break;
        lineStart = lineEnd;
    }
    return -1;
}

}  // namespace kv
