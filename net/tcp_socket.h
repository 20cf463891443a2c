// CTcpSocket: a blocking IPv4 TCP socket; one system call per operation, no retries.
#pragma once

#include "net/base_socket.h"

class CTcpSocket : public CBaseSocket {
public:
    bool Create() override;
    bool Send(const char* buffer, int length, int flags) override;
    // The system's answer unchanged: a byte count, 0 when the peer closed, -1 on error.
    int Receive(char* buffer, int capacity, int flags) override;
};
