#include "base/ansi_chars.h"

#include "base/ansi_lead_byte.h"

namespace kv {

size_t NextCharOffset(const std::string& text, size_t offset) {
    if (offset >= text.size()) return text.size();
    const auto byte = static_cast<unsigned char>(text[offset]);
    if (IsAnsiLeadByte(byte) && offset + 1 < text.size()) return offset + 2;
    return offset + 1;
}

std::vector<size_t> SeparatorOffsets(const std::string& text, bool slashToo) {
    std::vector<size_t> offsets;
    for (size_t i = 0; i < text.size(); i = NextCharOffset(text, i)) {
        if (text[i] == '\\' || (slashToo && text[i] == '/')) offsets.push_back(i);
    }
    return offsets;
}

bool EndsWithBackslash(const std::string& text) {
    const std::vector<size_t> offsets = SeparatorOffsets(text, false);
    return !offsets.empty() && offsets.back() + 1 == text.size();
}

}  // namespace kv
