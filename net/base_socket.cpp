#include "net/base_socket.h"

#include <cstring>

CBaseSocket::CBaseSocket() : handle(INVALID_SOCKET) { std::memset(&address, 0, sizeof address); }

CBaseSocket::~CBaseSocket() = default;

bool CBaseSocket::Create() { return false; }

bool CBaseSocket::Close() {
    if (handle == INVALID_SOCKET) return true;
    const int result = ::closesocket(handle);
    handle = INVALID_SOCKET;
    return result != SOCKET_ERROR;
}

bool CBaseSocket::Send(const char*, int, int) { return false; }

int CBaseSocket::Receive(char*, int, int) { return -1; }
