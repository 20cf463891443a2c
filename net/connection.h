// The connection of one exchange as the engine uses it: one request sent, the answer read
// in pieces with a bounded wait for each. The TCP client socket is the real one; tests
// feed scripted bytes through the same interface.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kv {

// ReceiveWithin's answer when the wait ran out before anything arrived.
constexpr int kNothingArrived = -2;

class Connection {
public:
    virtual ~Connection() = default;

    // The whole request in one send; false with the socket library's error set.
    virtual bool Send(const char* buffer, int length, int flags) = 0;
    // Waits at most waitMilliseconds for bytes, then receives at most capacity of them: the
    // count, 0 when the peer has closed, -1 on failure (the socket library's error set),
    // kNothingArrived when the wait ran out.
    virtual int ReceiveWithin(char* buffer, int capacity, int waitMilliseconds) = 0;
    virtual bool Close() = 0;
    // Only the answer's header will be read, before the connection is let go: the peer is
    // given little room to pile up the body meanwhile. A server that pushes a large body into
    // every room the receiver offers (several MB on loopback) is otherwise busy with it when
    // the next request comes.
    virtual void ExpectHeaderOnly() {}
};

// Connections are closed by whoever holds them when they are let go.
struct CloseConnection {
    void operator()(Connection* connection) const {
        connection->Close();
        std::default_delete<Connection>()(connection);
    }
};
using ConnectionPtr = std::unique_ptr<Connection, CloseConnection>;

// Opens a connection to a dotted IPv4 address and a port (host order); null with the
// socket library's error set when the socket cannot be created or connected.
using Connector = std::function<ConnectionPtr(const std::string& hostAddress, uint16_t port)>;

}  // namespace kv
