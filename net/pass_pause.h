// The receive loop's pause of one pass: never shorter than asked, and as little longer as the
// system's timers allow. A plain Sleep wakes late by the timer's slack and the scheduler's
// delay (0.1-0.8 ms under Wine, more on a busy machine) or, on Windows at its default timer
// resolution, at the next tick of 15.6 ms; over a pass of 10 ms that lateness is the larger
// part of what the loop loses to its ceiling.
#pragma once

namespace kv {

// How much earlier than the end of a pause to ask the system to wake the thread, from the
// last lead and how late the last wake came after the time asked for (microseconds). The
// lead drops at once to an earlier wake, so that a pause seldom ends before its time and
// needs finishing; it rises by an eighth of the gap towards later ones, so that one late wake
// on a busy machine does not cut the pauses after it short. At most `limit`.
long long NextWakeLead(long long lead, long long lateness, long long limit);

class PassPause {
public:
    // At least `milliseconds` on the performance counter: the system is asked to wake the
    // thread the learnt lead before the end, and what remains then is finished by yielding.
    void Take(int milliseconds);

private:
    // Microseconds. How late the system's timers wake a thread is the thread's and the
    // system's, not one transfer's: every pause of the thread shares what was learnt, so the
    // few passes of a skin archive start from what the transfers before them learnt.
    static thread_local long long lead_;
};

// The system's finest timer resolution (1 ms on Windows) while it lives, so that a pause
// can end between the default ticks; a transfer holds it, an idle control does not.
class FineTimerScope {
public:
    FineTimerScope();
    ~FineTimerScope();
    FineTimerScope(const FineTimerScope&) = delete;
    FineTimerScope& operator=(const FineTimerScope&) = delete;

private:
    bool set_ = false;
};

}  // namespace kv
