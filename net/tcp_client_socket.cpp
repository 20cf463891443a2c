#include "net/tcp_client_socket.h"

bool CTcpClientSocket::Connect(const char* hostAddress, uint16_t port) {
    if (handle == INVALID_SOCKET) return false;
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = ::inet_addr(hostAddress);
    address.sin_port = ::htons(port);
    return ::connect(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) !=
           SOCKET_ERROR;
}

bool CTcpClientSocket::Send(const char* buffer, int length, int flags) {
    if (nonBlocking && !SetNonBlocking(false)) return false;
    return CTcpSocket::Send(buffer, length, flags);
}

bool CTcpClientSocket::Close() {
    nonBlocking = false;
    return CTcpSocket::Close();
}

bool CTcpClientSocket::SetNonBlocking(bool on) {
    u_long mode = on ? 1 : 0;
    if (::ioctlsocket(handle, FIONBIO, &mode) == SOCKET_ERROR) return false;
    nonBlocking = on;
    return true;
}

void CTcpClientSocket::ExpectHeaderOnly() {
    // Room for a header; the window already offered stays, later ones stay as small.
    const int room = 8192;
    ::setsockopt(handle, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&room), sizeof room);
}

int CTcpClientSocket::ReceiveWithin(char* buffer, int capacity, int waitMilliseconds) {
    if (handle == INVALID_SOCKET) {
        ::WSASetLastError(WSAENOTSOCK);
        return -1;
    }
    // Bytes have nearly always arrived already: then the receive alone takes them. Asking
    // first how many there are, or waiting first, would cost each receive a call of its own
    // (under Wine a round trip to its server).
    if (!nonBlocking && !SetNonBlocking(true)) return -1;
    const int count = Receive(buffer, capacity, 0);
    if (count != SOCKET_ERROR || ::WSAGetLastError() != WSAEWOULDBLOCK) return count;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(handle, &readable);
    timeval wait{};
    wait.tv_sec = waitMilliseconds / 1000;
    wait.tv_usec = (waitMilliseconds % 1000) * 1000;
    const int ready = ::select(0, &readable, nullptr, nullptr, &wait);
    if (ready == SOCKET_ERROR) return -1;
    if (ready == 0) return kv::kNothingArrived;
    // Readable: bytes are there, or the peer's close, so the receive does not block.
    return Receive(buffer, capacity, 0);
}

namespace kv {

ConnectionPtr ConnectTcp(const std::string& hostAddress, uint16_t port) {
    auto socket = std::make_unique<CTcpClientSocket>();
    if (!socket->Create()) return nullptr;
    if (!socket->Connect(hostAddress.c_str(), port)) {
        const int error = ::WSAGetLastError();
        socket->Close();
        ::WSASetLastError(error);
        return nullptr;
    }
    return ConnectionPtr(socket.release());
}

}  // namespace kv
