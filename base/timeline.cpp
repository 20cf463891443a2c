#include "base/timeline.h"

#include "base/unique_resource.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace kv {
namespace {

struct TimelineFile {
    unique_hfile file;
    long long frequency = 1;

    TimelineFile() {
        LARGE_INTEGER perSecond;
        ::QueryPerformanceFrequency(&perSecond);
        frequency = perSecond.QuadPart;
        char path[MAX_PATH] = {};
        const DWORD length = ::GetEnvironmentVariableA("KORVENDAL_TIMELINE", path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return;
        // Appended to, so that every process of a run adds to the same file.
        file.reset(::CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
};

TimelineFile& Timeline() {
    static TimelineFile timeline;
    return timeline;
}

}  // namespace

bool TimelineOn() { return Timeline().file.valid(); }

long long TimelineNow() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    const long long frequency = Timeline().frequency;
    return now.QuadPart / frequency * 1000000 + now.QuadPart % frequency * 1000000 / frequency;
}

void TimelineMark(std::string_view text) {
    TimelineFile& timeline = Timeline();
    if (!timeline.file) return;
    // A mark sits between a failed call and the reading of its error code.
    const DWORD error = ::GetLastError();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%lld ", TimelineNow());
    std::string line = stamp;
    line.append(text);
    line += '\n';
    DWORD written = 0;
    ::WriteFile(timeline.file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::SetLastError(error);
}

TimelineSpan::TimelineSpan(const char* name) : name_(name) {
    if (TimelineOn()) TimelineMark(std::string(name_) + " begin");
}

TimelineSpan::~TimelineSpan() {
    if (TimelineOn()) TimelineMark(std::string(name_) + " end");
}

}  // namespace kv
