// Receiving a response header that may arrive in pieces, and the guard that closes an
// exchange's connection on every way out.
#pragma once

#include "net/tcp_client_socket.h"

namespace kv {

// Receives into block until the empty line that ends the header has arrived, the peer
// closes, or capacity bytes are in; block[count] is then zero. Returns the count, or -1
// when the first receive fails (a later failure keeps what has arrived).
int ReceiveHeaderBlock(CTcpSocket& connection, char* block, int capacity);

// Sockets never close themselves; this closes the exchange's connection when the scope
// is left by an unplanned way (an exception). The planned paths close it first, and a
// second Close does nothing.
class ConnectionCloser {
public:
    explicit ConnectionCloser(CBaseSocket& connection) : connection_(connection) {}
    ~ConnectionCloser() { connection_.Close(); }
    ConnectionCloser(const ConnectionCloser&) = delete;
    ConnectionCloser& operator=(const ConnectionCloser&) = delete;

private:
    CBaseSocket& connection_;
};

}  // namespace kv
