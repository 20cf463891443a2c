#include "net/marked_connection.h"

#include "base/timeline.h"

#include <memory>
#include <string_view>
#include <utility>

namespace kv {
namespace {

class MarkedConnection final : public Connection {
public:
    explicit MarkedConnection(ConnectionPtr inner) : inner_(std::move(inner)) {}

    bool Send(const char* buffer, int length, int flags) override {
        const std::string_view request(buffer, length > 0 ? static_cast<size_t>(length) : 0);
        const bool sent = inner_->Send(buffer, length, flags);
        // The request line, and whether the request asks for a range.
        std::string text = "send ";
        text.append(request.substr(0, request.find('\r')));
        if (request.find("\r\nRange:") != std::string_view::npos) text += " RANGE";
        TimelineMark(text);
        return sent;
    }

    int ReceiveWithin(char* buffer, int capacity, int waitMilliseconds) override {
        const long long start = TimelineNow();
        const int count = inner_->ReceiveWithin(buffer, capacity, waitMilliseconds);
        TimelineMark("receive " + std::to_string(count) + " " + std::to_string(TimelineNow() - start));
        return count;
    }

    void ExpectHeaderOnly() override { inner_->ExpectHeaderOnly(); }

    bool Close() override {
        const bool closed = inner_->Close();
        // The owner's deleter closes again; the exchange ended at the first.
        if (!closedOnce_) TimelineMark("close");
        closedOnce_ = true;
        return closed;
    }

private:
    ConnectionPtr inner_;
    bool closedOnce_ = false;
};

}  // namespace

ConnectionPtr ConnectMarked(const Connector& open, const std::string& hostAddress, uint16_t port) {
    TimelineMark("connect begin");
    ConnectionPtr connection = open(hostAddress, port);
    TimelineMark(connection ? "connect end" : "connect failed");
    if (!connection) return nullptr;
    return ConnectionPtr(std::make_unique<MarkedConnection>(std::move(connection)).release());
}

}  // namespace kv
