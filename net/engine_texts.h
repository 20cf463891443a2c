// The download engine's own failure texts (code page 949), and the ones that quote a
// response block or a URL.
#pragma once

#include <string>
#include <string_view>

namespace kv {

extern const char kMalformedUrlText[];   // code -1
extern const char kUnknownErrorText[];   // the system has no message for its code
extern const char kTruncatedBodyText[];  // code -1: the server closed before the end

std::string StatusLineFailureText(std::string_view block);  // code -1
std::string LengthFailureText(std::string_view block);      // code -1
std::string MissingFileText(const std::string& url);        // code 404

}  // namespace kv
