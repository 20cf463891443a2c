// window.setTimeout and window.clearTimeout: one-shot timers of a host window whose
// callbacks, script functions or texts of code, run from whichever loop dispatches the
// thread's messages (the host's own, or the control's while it transfers a file).
#pragma once

#include <oaidl.h>

#include <functional>
#include <map>
#include <string>

#include "base/com_ptr.h"

namespace kv::host {

// What a timer runs: a function object of the script, or code to run as a block.
struct TimerCallback {
    ComPtr<IDispatch> function;
    std::wstring code;
};

class ScriptTimers {
public:
    using Runner = std::function<void(const TimerCallback&)>;

    ScriptTimers(HWND window, Runner run) : window_(window), run_(std::move(run)) {}
    ScriptTimers(const ScriptTimers&) = delete;
    ScriptTimers& operator=(const ScriptTimers&) = delete;
    ~ScriptTimers() { ClearAll(); }

    // Returns the timer's id (from 1 up), or 0 when the system has no timer to give.
    long Set(TimerCallback callback, long milliseconds);
    // Unknown and finished ids are ignored, as in a browser.
    void Clear(long id);
    // For each WM_TIMER of the window: runs and forgets the timer; false when the timer
    // is none of these.
    bool OnTimer(UINT_PTR timerId);
    // Drops every pending callback (the references into the script go with them).
    void ClearAll();

private:
    HWND window_;
    Runner run_;
    std::map<long, TimerCallback> pending_;
    long lastId_ = 0;
};

}  // namespace kv::host
