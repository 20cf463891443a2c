#include "net/content_range.h"

#include "net/http_response.h"

namespace kv {
namespace {

constexpr int64_t kLargest = INT64_C(0x7FFFFFFFFFFFFFFF);

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads one run of decimal digits at `at`; false when there is none or it overflows.
bool ReadNumber(std::string_view text, size_t& at, int64_t& number) {
    const size_t start = at;
    number = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        const int digit = text[at] - '0';
        if (number > (kLargest - digit) / 10) return false;
        number = number * 10 + digit;
        ++at;
    }
    return at > start;
}

bool Expect(std::string_view text, size_t& at, char c) {
    if (at >= text.size() || text[at] != c) return false;
    ++at;
    return true;
}

}  // namespace

bool ParseContentRange(std::string_view value, ContentRange& range) {
    while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
    while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
    constexpr std::string_view kUnit = "bytes";
    if (value.size() <= kUnit.size()) return false;
    if (!EqualsAnyCase(value.substr(0, kUnit.size()), kUnit)) return false;
    size_t at = kUnit.size();
    if (!IsBlank(value[at])) return false;
    while (at < value.size() && IsBlank(value[at])) ++at;

    ContentRange parsed;
    if (!ReadNumber(value, at, parsed.first) || !Expect(value, at, '-') ||
        !ReadNumber(value, at, parsed.last) || !Expect(value, at, '/'))
        return false;
    if (at + 1 == value.size() && value[at] == '*') {
        parsed.complete = -1;
    } else if (!ReadNumber(value, at, parsed.complete) || at != value.size()) {
        return false;
    }
    if (parsed.last < parsed.first) return false;
    if (parsed.complete >= 0 && parsed.last >= parsed.complete) return false;
    range = parsed;
    return true;
}

}  // namespace kv
