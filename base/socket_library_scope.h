// A program's own start-up of the socket library for its whole run, as a browser process
// holds one: the engine's failure reports release only the engine's start-up.
#pragma once

#include <winsock2.h>

namespace kv {

class SocketLibraryScope {
public:
    SocketLibraryScope() {
        WSADATA data;
        started_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~SocketLibraryScope() {
        if (started_) ::WSACleanup();
    }
    SocketLibraryScope(const SocketLibraryScope&) = delete;
    SocketLibraryScope& operator=(const SocketLibraryScope&) = delete;

private:
    bool started_ = false;
};

}  // namespace kv
