#include "control/download/controller_clock.h"

#include <cstdlib>

namespace kv {

uint32_t SystemClock::Now() const { return ::GetTickCount(); }

InputMoment SystemClock::CurrentInput() const {
    const DWORD place = ::GetMessagePos();
    return {static_cast<uint32_t>(::GetMessageTime()),
            {static_cast<short>(LOWORD(place)), static_cast<short>(HIWORD(place))}};
}

uint32_t SystemClock::DoubleClickTime() const { return ::GetDoubleClickTime(); }

SIZE SystemClock::DoubleClickArea() const {
    return {::GetSystemMetrics(SM_CXDOUBLECLK), ::GetSystemMetrics(SM_CYDOUBLECLK)};
}

bool IsSameGesture(const InputMoment& first, const InputMoment& second, uint32_t doubleClickTime,
                   SIZE area) {
    // Unsigned, so a wrap of the tick counter between the presses does not disturb it.
    if (second.time - first.time > doubleClickTime) return false;
    return std::labs(static_cast<long>(second.place.x) - first.place.x) <= area.cx / 2 &&
           std::labs(static_cast<long>(second.place.y) - first.place.y) <= area.cy / 2;
}

}  // namespace kv
