#include "net/tcp_client_socket.h"

bool CTcpClientSocket::Connect(const char* hostAddress, uint16_t port) {
    if (handle == INVALID_SOCKET) return false;
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = ::inet_addr(hostAddress);
    address.sin_port = ::htons(port);
    return ::connect(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) !=
           SOCKET_ERROR;
}
