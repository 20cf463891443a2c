#include "net/tcp_socket.h"

bool CTcpSocket::Create() {
    handle = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    return handle != INVALID_SOCKET;
}

bool CTcpSocket::Send(const char* buffer, int length, int flags) {
    return ::send(handle, buffer, length, flags) != SOCKET_ERROR;
}

int CTcpSocket::Receive(char* buffer, int capacity, int flags) {
    return ::recv(handle, buffer, capacity, flags);
}
