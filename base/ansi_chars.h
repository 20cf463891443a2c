// Walks narrow strings of the ANSI code page (949 on a Korean system) character by character,
// so that the trail byte of a double-byte character is never taken for a separator.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kv {

// Offset of the character that follows the one starting at `offset`. A lead byte at the very
// end of the string counts as a character of its own.
size_t NextCharOffset(const std::string& text, size_t offset);

// Offsets of the backslashes that are characters of their own; with `slashToo`, of the
// forward slashes as well.
std::vector<size_t> SeparatorOffsets(const std::string& text, bool slashToo);

bool EndsWithBackslash(const std::string& text);

}  // namespace kv
