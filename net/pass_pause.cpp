#include "net/pass_pause.h"

#include "base/timeline.h"

#include <windows.h>

#include <algorithm>

namespace kv {
namespace {

// The native calls behind Sleep and timeBeginPeriod: the first takes its time in 100 ns
// units rather than whole milliseconds, the second needs no library beyond ntdll.
using DelayExecution = LONG(NTAPI*)(BOOLEAN alertable, const LARGE_INTEGER* interval);
using SetTimerResolution = LONG(NTAPI*)(ULONG resolution, BOOLEAN set, ULONG* current);
constexpr ULONG kFinestResolution = 10000;  // 1 ms in 100 ns units

struct NativeCalls {
    DelayExecution delay = nullptr;
    SetTimerResolution resolution = nullptr;

    NativeCalls() {
        if (const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll")) {
            delay = reinterpret_cast<DelayExecution>(
                reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtDelayExecution")));
            resolution = reinterpret_cast<SetTimerResolution>(
                reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtSetTimerResolution")));
        }
    }
};

const NativeCalls& Native() {
    static const NativeCalls calls;
    return calls;
}

// Microseconds on the performance counter, the clock of the timeline's marks too.
long long NowMicroseconds() { return TimelineNow(); }

void DelayMicroseconds(long long microseconds) {
    if (const DelayExecution delay = Native().delay) {
        LARGE_INTEGER interval;
        interval.QuadPart = -microseconds * 10;  // negative: relative to now
        delay(FALSE, &interval);
    } else {
        ::Sleep(static_cast<DWORD>(microseconds / 1000));
    }
}

}  // namespace

thread_local long long PassPause::lead_ = 0;

long long NextWakeLead(long long lead, long long lateness, long long limit) {
    const long long next = lateness <= lead ? lateness : lead + (lateness - lead) / 8;
    return std::clamp(next, 0LL, limit);
}

void PassPause::Take(int milliseconds) {
    const long long span = milliseconds * 1000LL;
    const long long start = NowMicroseconds();
    const long long asked = span - lead_;
    DelayMicroseconds(asked);
    lead_ = NextWakeLead(lead_, NowMicroseconds() - start - asked, span / 10);
    while (NowMicroseconds() - start < span) ::SwitchToThread();
}

FineTimerScope::FineTimerScope() {
    ULONG current = 0;
    if (const SetTimerResolution set = Native().resolution)
        set_ = set(kFinestResolution, TRUE, &current) >= 0;
}

FineTimerScope::~FineTimerScope() {
    ULONG current = 0;
    if (set_) Native().resolution(kFinestResolution, FALSE, &current);
}

}  // namespace kv
