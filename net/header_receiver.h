// Receiving a response header that may arrive in pieces, with a bounded wait for each.
#pragma once

#include "net/connection.h"

namespace kv {

// Receives into block until the empty line that ends the header has arrived, the peer
// closes, or capacity bytes are in; block[count] is then zero. Returns the count; -1 when
// the first receive fails (a later failure keeps what has arrived); kNothingArrived when
// the server stays silent for waitMilliseconds before the header is complete.
int ReceiveHeaderBlock(Connection& connection, char* block, int capacity, int waitMilliseconds);

}  // namespace kv
