// CTcpClientSocket: the outgoing connection of one HTTP exchange, to an address that has
// already been resolved to dotted IPv4 text.
#pragma once

#include "net/tcp_socket.h"

#include <cstdint>

class CTcpClientSocket : public CTcpSocket {
public:
    // port in host byte order; the address record keeps it in network order.
    virtual bool Connect(const char* hostAddress, uint16_t port);
};
