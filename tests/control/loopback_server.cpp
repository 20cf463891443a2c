#include "loopback_server.h"

#include <ws2tcpip.h>

#include <chrono>
#include <cstdlib>

namespace {

constexpr int kMaxConnections = 1000;

std::string HeaderValue(const std::string& request, const std::string& name) {
    const size_t at = request.find("\r\n" + name + ": ");
    if (at == std::string::npos) return {};
    const size_t begin = at + name.size() + 4;
    return request.substr(begin, request.find("\r\n", begin) - begin);
}

}  // namespace

LoopbackServer::LoopbackServer(std::string servedBody) : body(std::move(servedBody)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    ::listen(listener_, 16);
    thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
    stopping_ = true;
    thread_.join();
    ::closesocket(listener_);
}

std::string LoopbackServer::Url(const std::string& name) const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/" + name;
}

std::string LoopbackServer::LastRange() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lastRange_;
}

void LoopbackServer::Serve() {
    // Bounded in count; each wait for a connection is short so that destruction is quick.
    for (int served = 0; served < kMaxConnections && !stopping_;) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener_, &readable);
        timeval wait{0, 50000};
        if (::select(0, &readable, nullptr, nullptr, &wait) != 1) continue;
        const SOCKET client = ::accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) continue;
        Answer(client);
        ::closesocket(client);
        ++served;
    }
}

void LoopbackServer::Answer(SOCKET client) {
    std::string request;
    char chunk[1024];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (request.find("\r\n\r\n") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        const int count = ::recv(client, chunk, sizeof chunk, 0);
        if (count <= 0) return;
        request.append(chunk, static_cast<size_t>(count));
    }
    ++requests_;
    const std::string range = HeaderValue(request, "Range");
    {
        std::lock_guard<std::mutex> lock(mutex_);
        lastRange_ = range;
    }
    size_t from = 0;
    if (range.rfind("bytes=", 0) == 0) from = std::strtoul(range.c_str() + 6, nullptr, 10);
    std::string answer;
    if (from > 0 && from < body.size()) {
        answer = "HTTP/1.1 206 Partial Content\r\nContent-Range: bytes " + std::to_string(from) + "-" +
                 std::to_string(body.size() - 1) + "/" + std::to_string(body.size()) + "\r\n";
    } else {
        from = 0;
        answer = "HTTP/1.1 200 OK\r\n";
    }
    answer += "Content-Length: " + std::to_string(body.size() - from) + "\r\nConnection: close\r\n\r\n";
    answer += body.substr(from);
    ::send(client, answer.data(), static_cast<int>(answer.size()), 0);
    ::shutdown(client, SD_SEND);
}
