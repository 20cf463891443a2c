#include "base/path_text.h"

#include <algorithm>

namespace kv {

bool IsPlainPathText(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == '*' || c == '?' || c == '<' ||
               c == '>' || c == '"' || c == '|';
    });
}

}  // namespace kv
