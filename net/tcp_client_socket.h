// CTcpClientSocket: the outgoing connection of one HTTP exchange, to an address that has
// already been resolved to dotted IPv4 text; the engine's real kv::Connection.
#pragma once

#include "net/connection.h"
#include "net/tcp_socket.h"

#include <cstdint>
#include <string>

class CTcpClientSocket : public CTcpSocket, public kv::Connection {
public:
    // port in host byte order; the address record keeps it in network order.
    virtual bool Connect(const char* hostAddress, uint16_t port);

    // The socket's own Send and Close serve the connection as well.
    bool Send(const char* buffer, int length, int flags) override;
    bool Close() override;
    // One receive that does not block takes the bytes already there; only when none are
    // does select() bound the wait. The socket is non-blocking from the first of these on,
    // and blocking again for a send, so that a request always leaves whole.
    int ReceiveWithin(char* buffer, int capacity, int waitMilliseconds) override;
    void ExpectHeaderOnly() override;

private:
    bool SetNonBlocking(bool on);

    bool nonBlocking = false;
};

namespace kv {

// Creates and connects a client socket: the engine's connector.
ConnectionPtr ConnectTcp(const std::string& hostAddress, uint16_t port);

}  // namespace kv
