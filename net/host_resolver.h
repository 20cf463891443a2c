// The name lookup of an exchange: the host text of a URL turned into the dotted IPv4
// address to connect to.
#pragma once

#include <string>

namespace kv {

// A dotted address stays as it is; a name becomes the first IPv4 address the resolver
// returns. False with the socket library's error set.
bool ResolveHostAddress(std::string& hostAddress);

}  // namespace kv
