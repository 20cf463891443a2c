#include "skin/skin_values.h"

#include "base/ansi_chars.h"
#include "base/ansi_text.h"

#include <limits>

namespace kv {
namespace {

// Offset of the first `delimiter` at or after `from` that is a character of its own.
size_t FindDelimiter(const std::string& text, size_t from, char delimiter) {
    for (size_t i = from; i < text.size(); i = NextCharOffset(text, i)) {
        if (text[i] == delimiter) return i;
    }
    return std::string::npos;
}

uint32_t ColorChannel(const std::string& field) {
    return static_cast<uint32_t>(FieldToInt(field)) & 0xFF;
}

}  // namespace

int SplitString(const std::string& text, char delimiter, std::vector<std::string>& fields) {
    fields.clear();
    size_t start = 0;
    for (;;) {
        const size_t at = FindDelimiter(text, start, delimiter);
        if (at == std::string::npos) break;
        fields.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    if (start < text.size()) fields.push_back(text.substr(start));
    return static_cast<int>(fields.size());
}

int32_t FieldToInt(const std::string& field) {
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    const int64_t value = LeadingInt64(field);
    return static_cast<int32_t>(value < kMin ? kMin : value > kMax ? kMax : value);
}

int32_t WrappingAdd(int32_t a, int32_t b) {
    const uint32_t sum = static_cast<uint32_t>(a) + static_cast<uint32_t>(b);
    // Modulo 2^32 back into the signed range, written out so that no compiler rule for
    // out-of-range conversions is involved.
    return sum <= static_cast<uint32_t>(std::numeric_limits<int32_t>::max())
               ? static_cast<int32_t>(sum)
               : -static_cast<int32_t>(~sum) - 1;
}

bool ParseColor(const std::string& value, uint32_t& color) {
    std::vector<std::string> fields;
    if (SplitString(value, ',', fields) < 3) return false;
    color = ColorChannel(fields[0]) | ColorChannel(fields[1]) << 8 | ColorChannel(fields[2]) << 16;
    return true;
}

bool ParseRect(const std::string& value, SkinRect& rect) {
    std::vector<std::string> fields;
    const int count = SplitString(value, ',', fields);
    if (count < 1) return false;
    rect.left = FieldToInt(fields[0]);
    if (count < 2) return false;
    rect.top = FieldToInt(fields[1]);
    if (count < 3) return false;
    rect.right = WrappingAdd(FieldToInt(fields[2]), rect.left);
    if (count < 4) return false;
    rect.bottom = WrappingAdd(FieldToInt(fields[3]), rect.top);
    return true;
}

bool ParsePoint(const std::string& value, SkinPoint& point) {
    std::vector<std::string> fields;
    const int count = SplitString(value, ',', fields);
    if (count < 1) return false;
    point.x = FieldToInt(fields[0]);
    if (count < 2) return false;
    point.y = FieldToInt(fields[1]);
    return true;
}

}  // namespace kv
