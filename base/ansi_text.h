// Small text helpers over narrow strings in the ANSI code page (949 on a Korean system):
// lower-casing that leaves double-byte characters alone, blank trimming, and numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

// ASCII letters only; the trail byte of a double-byte character may look like a capital
// letter and is skipped together with its lead byte.
std::string LowerAnsi(std::string_view text);
// Blanks are the single-byte white-space characters; no lead or trail byte of code page
// 949 is one of them, so trimming the ends cannot split a Korean character.
std::string TrimBlanks(std::string_view text);
// Like atoi for 64 bits: leading blanks, an optional sign, then digits; no digits gives 0.
// Saturates instead of overflowing.
int64_t LeadingInt64(std::string_view text);

}  // namespace kv
