// The controller's view of the control window's child controls, by control id: the
// labels' texts, the buttons' visibility and state, and the progress bar.
#pragma once

#include <cstdint>
#include <string>

class ControllerPanel {
public:
    virtual void SetText(int id, const std::string& text) = 0;
    virtual void Show(int id, bool shown) = 0;
    virtual void Enable(int id, bool enabled) = 0;
    virtual void SetBarRange(int32_t lower, int32_t upper) = 0;
    virtual void SetBarPosition(int32_t position) = 0;

protected:
    ~ControllerPanel() = default;
};
