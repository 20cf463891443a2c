// An opt-in timeline of what the engine and Init spend their time on, for the benchmarks.
// When the environment variable KORVENDAL_TIMELINE names a file when the first mark is
// made, every mark is appended to it as one line: microseconds on the performance
// counter, a blank, the mark's text. Otherwise a mark costs the test of one flag.
#pragma once

#include <string_view>

namespace kv {

// True when marks are written; decided once per process.
[[nodiscard]] bool TimelineOn();
// Appends one line to the timeline; nothing when it is off.
void TimelineMark(std::string_view text);
// Microseconds on the performance counter, the clock of the marks.
[[nodiscard]] long long TimelineNow();

// Marks "<name> begin" at construction and "<name> end" at destruction.
class TimelineSpan {
public:
    explicit TimelineSpan(const char* name);
    ~TimelineSpan();
    TimelineSpan(const TimelineSpan&) = delete;
    TimelineSpan& operator=(const TimelineSpan&) = delete;

private:
    const char* name_;
};

}  // namespace kv
