// Connections of the test's own for the downloader's connector seam: each receive plays
// the next step of a script, and every byte sent is recorded per connection. Scripts are
// bounded: a connection gives up after a fixed number of receives.
#pragma once

#include "net/connection.h"

#include <winsock2.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kvtest {

struct Step {
    enum class Kind { Bytes, Silence, SilenceForever, Act, Close };
    Kind kind;
    std::string bytes;
    std::function<void()> action;
};

inline Step Bytes(std::string bytes) { return {Step::Kind::Bytes, std::move(bytes), {}}; }
inline Step Silence() { return {Step::Kind::Silence, {}, {}}; }
inline Step SilenceForever() { return {Step::Kind::SilenceForever, {}, {}}; }
// Runs the action inside the receive, then answers as a silent wait does.
inline Step Act(std::function<void()> action) { return {Step::Kind::Act, {}, std::move(action)}; }
inline Step Close() { return {Step::Kind::Close, {}, {}}; }

class ScriptedConnection : public kv::Connection {
public:
    ScriptedConnection(std::vector<Step> script, std::string& sent)
        : steps_(script.begin(), script.end()), sent_(sent) {}

    bool Send(const char* buffer, int length, int) override {
        sent_.append(buffer, static_cast<size_t>(length));
        return true;
    }

    int ReceiveWithin(char* buffer, int capacity, int) override {
        if (++receives_ > kMaxReceives) {
            ::WSASetLastError(WSAECONNABORTED);
            return -1;
        }
        if (steps_.empty()) return 0;  // the script's end is the server's close
        Step& step = steps_.front();
        switch (step.kind) {
        case Step::Kind::Bytes: {
            const size_t n = std::min(step.bytes.size(), static_cast<size_t>(capacity));
            std::memcpy(buffer, step.bytes.data(), n);
            step.bytes.erase(0, n);
            if (step.bytes.empty()) steps_.pop_front();
            return static_cast<int>(n);
        }
        case Step::Kind::Silence:
            steps_.pop_front();
            return kv::kNothingArrived;
        case Step::Kind::SilenceForever:
            return kv::kNothingArrived;
        case Step::Kind::Act: {
            const std::function<void()> action = std::move(step.action);
            steps_.pop_front();
            action();
            return kv::kNothingArrived;
        }
        case Step::Kind::Close:
            break;
        }
        return 0;
    }

    bool Close() override { return true; }

private:
    static constexpr int kMaxReceives = 100000;
    std::deque<Step> steps_;
    std::string& sent_;
    int receives_ = 0;
};

// Hands out one scripted connection per connect, in order; with no script left the
// connection is refused.
class ScriptedServer {
public:
    void Answer(std::vector<Step> script) { scripts_.push_back(std::move(script)); }
    // The redirect probe's connection, closed without a byte: no redirect.
    void AnswerProbe() { Answer({Close()}); }

    kv::Connector Connector() {
        return [this](const std::string&, uint16_t) -> kv::ConnectionPtr {
            if (scripts_.empty()) {
                ::WSASetLastError(WSAECONNREFUSED);
                return nullptr;
            }
            requests.emplace_back();
            std::vector<Step> script = std::move(scripts_.front());
            scripts_.pop_front();
            return kv::ConnectionPtr(
                std::make_unique<ScriptedConnection>(std::move(script), requests.back()).release());
        };
    }

    std::deque<std::string> requests;  // what each connection was sent, in connect order

private:
    std::deque<std::vector<Step>> scripts_;
};

}  // namespace kvtest
