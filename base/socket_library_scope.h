// One start-up of the socket library, held for the object's life: the system counts
// start-ups per process, so every owner's clean-up undoes only its own. The engine's
// downloader holds one, and so does a program that uses sockets of its own.
#pragma once

#include <winsock2.h>

namespace kv {

class SocketLibraryScope {
public:
    SocketLibraryScope() {
        WSADATA data;
        error_ = ::WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~SocketLibraryScope() {
        if (error_ == 0) ::WSACleanup();
    }
    SocketLibraryScope(const SocketLibraryScope&) = delete;
    SocketLibraryScope& operator=(const SocketLibraryScope&) = delete;

    [[nodiscard]] bool started() const noexcept { return error_ == 0; }
    // WSAStartup's own result: it sets no last error.
    [[nodiscard]] int error() const noexcept { return error_; }

private:
    int error_ = 0;
};

}  // namespace kv
