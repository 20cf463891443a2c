// Connections of the test's own for the downloader's connector seam: each receive plays
// the next step of a script, the script's end is the server's close, and every byte sent
// is recorded per connection. A connection gives up after a bounded number of receives.
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

// Bytes to hand out; without bytes, an action run inside the receive, which then finds
// nothing; with neither, silence for good.
struct Step {
    std::string bytes;
    std::function<void()> action;
};
inline Step Bytes(std::string bytes) { return {std::move(bytes), {}}; }
inline Step Act(std::function<void()> action) { return {{}, std::move(action)}; }
inline Step SilenceForever() { return {}; }

class ScriptedConnection : public kv::Connection {
public:
    ScriptedConnection(std::vector<Step> script, std::string& sent)
        : steps_(script.begin(), script.end()), sent_(sent) {}

    bool Send(const char* buffer, int length, int) override {
        sent_.append(buffer, static_cast<size_t>(length));
        return true;
    }

    int ReceiveWithin(char* buffer, int capacity, int) override {
        if (++receives_ > 100000) {
            ::WSASetLastError(WSAECONNABORTED);
            return -1;
        }
        if (steps_.empty()) return 0;
        Step& step = steps_.front();
        if (!step.bytes.empty()) {
            const size_t n = std::min(step.bytes.size(), static_cast<size_t>(capacity));
            std::memcpy(buffer, step.bytes.data(), n);
            step.bytes.erase(0, n);
            if (step.bytes.empty()) steps_.pop_front();
            return static_cast<int>(n);
        }
        if (step.action) {
            const std::function<void()> action = std::move(step.action);
            steps_.pop_front();
            action();
        }
        return kv::kNothingArrived;
    }

    bool Close() override { return true; }

private:
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
    void AnswerProbe() { Answer({}); }

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
