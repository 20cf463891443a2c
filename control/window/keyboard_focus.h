// The keyboard inside the control window: which skin button takes the focus, Tab and
// Shift+Tab through the enabled, visible buttons in the order a reader meets them, Space and
// Enter pressing the focused button, and the focus moving on from a button that goes away.
#pragma once

#include <windows.h>

#include <vector>

namespace kv {

// Posted to the control window after the focused button was hidden or disabled.
constexpr UINT WM_KV_FOCUS_CHECK = WM_USER + 140;  // 1164

// True when a reader meets the place `a` before `b`: rows top to bottom, each left to right.
bool ReadsBefore(const RECT& a, const RECT& b);
// The indexes of `places` in reading order (equal places keep their given order).
std::vector<size_t> ReadingOrder(const std::vector<RECT>& places);

class CKeyboardFocus {
public:
    CKeyboardFocus(int firstButton, int lastButton) : firstButton_(firstButton), lastButton_(lastButton) {}

    void Attach(HWND window) { window_ = window; }
    // The first enabled, visible button in reading order takes the focus; false when none can.
    bool FocusFirst();
    // A key on the container's accelerator path; true when the control used it. Tab past the
    // last button (Shift+Tab before the first) is left to the container, which moves on.
    bool TranslateKey(const MSG& message);
    // True once a key reached the control: from then on the focused button shows its cue.
    bool keyboardUsed() const { return keyboardUsed_; }
    // Called before button `id` is hidden or disabled. When it holds the focus, the focus
    // moves to the next button once the panel has settled (start gives way to stop only
    // after it is hidden).
    void BeforeButtonGone(int id);
    // The control window's focus and the posted check; true when handled here.
    bool OnMessage(UINT message);

private:
    // The enabled, visible buttons in reading order.
    std::vector<HWND> TabOrder() const;
    RECT PlaceOf(HWND child) const;
    bool OwnsFocus() const;
    void MoveOnFromGone();

    int firstButton_;
    int lastButton_;
    HWND window_ = nullptr;
    bool keyboardUsed_ = false;
    bool gonePending_ = false;
    RECT gonePlace_{};
};

}  // namespace kv
