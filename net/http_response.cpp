#include "net/http_response.h"

#include "base/ansi_text.h"

namespace kv {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool EqualsAnyCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

std::string BlockText(std::string_view block) {
    return std::string(block.substr(0, block.find('\0')));
}

int StatusCodeOf(std::string_view block) {
    if (block.empty()) return -2;
    size_t at = block.find("HTTP/1.1");
    if (at == std::string_view::npos) at = block.find("http/1.1");
    if (at == std::string_view::npos) return -1;
    // A sign, a fourth digit or a missing one would otherwise pass as some other status.
    const size_t code = at + 9;
    if (code + 3 > block.size() || block[at + 8] != ' ') return -1;
    if (!IsDigit(block[code]) || !IsDigit(block[code + 1]) || !IsDigit(block[code + 2])) return -1;
    if (code + 3 < block.size() && block[code + 3] != ' ' && block[code + 3] != '\r' &&
        block[code + 3] != '\n')
        return -1;
    return (block[code] - '0') * 100 + (block[code + 1] - '0') * 10 + (block[code + 2] - '0');
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

bool HeaderFieldOf(std::string_view header, std::string_view name, std::string& value) {
    size_t lineStart = header.find("\r\n");
    while (lineStart != std::string_view::npos) {
        lineStart += 2;
        size_t lineEnd = header.find("\r\n", lineStart);
        if (lineEnd == std::string_view::npos) lineEnd = header.size();
        const std::string_view line = header.substr(lineStart, lineEnd - lineStart);
        if (line.empty()) break;  // the empty line: the body follows
        const size_t colon = line.find(':');
        if (colon != std::string_view::npos && EqualsAnyCase(line.substr(0, colon), name)) {
            value = TrimBlanks(line.substr(colon + 1));
            return true;
        }
        if (lineEnd == header.size()) break;
        lineStart = lineEnd;
    }
    return false;
}

int64_t ResponseLengthOf(std::string_view header) {
    std::string value;
    if (!HeaderFieldOf(header, "Content-Length", value)) return -1;
    if (value.empty() || !IsDigit(value[0])) return -1;
    return LeadingInt64(value);
}

}  // namespace kv
