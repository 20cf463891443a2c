// A connection that marks its exchange on the timeline (base/timeline.h): the connect, the
// request line sent, every receive with its count and the time it took, and the close.
// The engine uses it only while the timeline is on.
#pragma once

#include "net/connection.h"

#include <cstdint>
#include <string>

namespace kv {

// Opens a connection through `open` and marks it; null as `open` gives it.
ConnectionPtr ConnectMarked(const Connector& open, const std::string& hostAddress, uint16_t port);

}  // namespace kv
