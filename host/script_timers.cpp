#include "host/script_timers.h"

#include <windows.h>

namespace kv::host {
namespace {

// The host window's own timers keep the small ids; script timers live above.
constexpr UINT_PTR kFirstTimerId = 0x1000;

UINT_PTR TimerIdOf(long id) { return kFirstTimerId + static_cast<UINT_PTR>(id); }

}  // namespace

long ScriptTimers::Set(TimerCallback callback, long milliseconds) {
    const long id = ++lastId_;
    if (!::SetTimer(window_, TimerIdOf(id), milliseconds > 0 ? static_cast<UINT>(milliseconds) : 0u, nullptr)) {
        return 0;
    }
    pending_[id] = std::move(callback);
    return id;
}

void ScriptTimers::Clear(long id) {
    if (pending_.erase(id) > 0) ::KillTimer(window_, TimerIdOf(id));
}

bool ScriptTimers::OnTimer(UINT_PTR timerId) {
    if (timerId <= kFirstTimerId) return false;
    const long id = static_cast<long>(timerId - kFirstTimerId);
    ::KillTimer(window_, timerId);
    const auto found = pending_.find(id);
    if (found == pending_.end()) return true;
    // Forgotten before it runs: the callback may set new timers or clear its own id.
    const TimerCallback callback = std::move(found->second);
    pending_.erase(found);
    run_(callback);
    return true;
}

void ScriptTimers::ClearAll() {
    for (const auto& entry : pending_) ::KillTimer(window_, TimerIdOf(entry.first));
    pending_.clear();
}

}  // namespace kv::host
