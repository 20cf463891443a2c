// Conversions between the control's narrow strings (the ANSI code page, 949 on a Korean
// system), UTF-16 at the scripting interface and UTF-8 for console output.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv {

std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);
// The ANSI form of `text` only when every character has one of its own: nothing when a
// character would become the default character ('?') or a look-alike ("best fit"), since
// such text names another file than the one asked for.
std::optional<std::string> WideToAnsiExact(std::wstring_view text);
std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);
std::string AnsiToUtf8(std::string_view text);
std::string Utf8ToAnsi(std::string_view text);

}  // namespace kv
