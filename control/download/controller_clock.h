// Time and pointer facts the download controller asks about: the millisecond tick for the
// transfer's figures, and when and where the input behind the current command happened, so
// that the second press of a double-click is told from a click of its own.
#pragma once

#include <windows.h>

#include <cstdint>

namespace kv {

struct InputMoment {
    uint32_t time = 0;  // milliseconds, as the thread's messages are stamped
    POINT place{};      // screen coordinates of the pointer
};

class ControllerClock {
public:
    virtual uint32_t Now() const = 0;
    // The moment of the message being handled now.
    virtual InputMoment CurrentInput() const = 0;
    virtual uint32_t DoubleClickTime() const = 0;
    virtual SIZE DoubleClickArea() const = 0;

protected:
    ~ControllerClock() = default;
};

// The system's clock, message stamps and double-click settings.
class SystemClock final : public ControllerClock {
public:
    uint32_t Now() const override;
    InputMoment CurrentInput() const override;
    uint32_t DoubleClickTime() const override;
    SIZE DoubleClickArea() const override;
};

// True when `second` follows `first` within the double-click time and inside the area
// centred on `first`: the two presses are one gesture.
bool IsSameGesture(const InputMoment& first, const InputMoment& second, uint32_t doubleClickTime,
                   SIZE area);

}  // namespace kv
