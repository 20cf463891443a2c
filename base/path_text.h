// Which narrow texts can be a file name at all: a pure rule over bytes, shared by the file
// existence test and the path rules.
#pragma once

#include <string_view>

namespace kv {

// True when no byte of `text` is NUL or another control character (each ends or garbles a
// name on its way to the system) or one of * ? < > " | (wildcards of a directory search, or
// characters no file name holds).
bool IsPlainPathText(std::string_view text);

}  // namespace kv
