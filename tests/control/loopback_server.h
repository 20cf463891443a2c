// A small HTTP/1.1 server of the test's own on 127.0.0.1: it serves one body to any GET,
// honouring "Range: bytes=N-" with a 206, counts the requests and remembers the last range.
// It runs on a thread of its own until it is destroyed.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

class LoopbackServer {
public:
    explicit LoopbackServer(std::string servedBody);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::string Url(const std::string& name) const;
    int Requests() const { return requests_; }
    std::string LastRange() const;

    const std::string body;

private:
    void Serve();
    void Answer(SOCKET client);

    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> requests_{0};
    mutable std::mutex mutex_;
    std::string lastRange_;
    std::thread thread_;
};
