#include "control/window/keyboard_focus.h"

#include "skin/skin_button.h"

#include <algorithm>
#include <numeric>

namespace kv {

bool ReadsBefore(const RECT& a, const RECT& b) {
    if (a.top != b.top) return a.top < b.top;
    return a.left < b.left;
}

std::vector<size_t> ReadingOrder(const std::vector<RECT>& places) {
    std::vector<size_t> order(places.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&places](size_t a, size_t b) { return ReadsBefore(places[a], places[b]); });
    return order;
}

RECT CKeyboardFocus::PlaceOf(HWND child) const {
    RECT place{};
    ::GetWindowRect(child, &place);
    ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

std::vector<HWND> CKeyboardFocus::TabOrder() const {
    std::vector<HWND> buttons;
    std::vector<RECT> places;
    for (int id = firstButton_; id <= lastButton_; ++id) {
        const HWND button = ::GetDlgItem(window_, id);
        if (!button || !::IsWindowVisible(button) || !::IsWindowEnabled(button)) continue;
        buttons.push_back(button);
        places.push_back(PlaceOf(button));
    }
    std::vector<HWND> ordered;
    for (size_t index : ReadingOrder(places)) ordered.push_back(buttons[index]);
    return ordered;
}

bool CKeyboardFocus::OwnsFocus() const {
    const HWND focus = ::GetFocus();
    return window_ && focus && (focus == window_ || ::IsChild(window_, focus));
}

bool CKeyboardFocus::FocusFirst() {
    const std::vector<HWND> order = TabOrder();
    if (order.empty()) return false;
    ::SetFocus(order.front());
    return true;
}

bool CKeyboardFocus::TranslateKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || !OwnsFocus()) return false;
    keyboardUsed_ = true;
    const HWND focus = ::GetFocus();
    switch (message.wParam) {
    case VK_SPACE:
    case VK_RETURN:
        // A press as a click makes it; on the control window itself there is nothing to press.
        if (focus != window_) PressButton(focus);
        return true;
    case VK_TAB: {
        const std::vector<HWND> order = TabOrder();
        const bool backwards = ::GetKeyState(VK_SHIFT) < 0;
        const auto at = std::find(order.begin(), order.end(), focus);
        if (at == order.end()) return FocusFirst();
        const auto index = static_cast<ptrdiff_t>(at - order.begin()) + (backwards ? -1 : 1);
        if (index < 0 || index >= static_cast<ptrdiff_t>(order.size())) return false;
        ::SetFocus(order[static_cast<size_t>(index)]);
        return true;
    }
    default:
        return false;
    }
}

void CKeyboardFocus::BeforeButtonGone(int id) {
    const HWND button = window_ ? ::GetDlgItem(window_, id) : nullptr;
    if (!button || ::GetFocus() != button) return;
    gonePending_ = true;
    gonePlace_ = PlaceOf(button);
    ::PostMessageA(window_, WM_KV_FOCUS_CHECK, 0, 0);
}

void CKeyboardFocus::MoveOnFromGone() {
    if (!gonePending_) return;
    gonePending_ = false;
    const std::vector<HWND> order = TabOrder();
    if (order.empty()) return;
    const HWND focus = ::GetFocus();
    // Focus the user gave another button meanwhile stays where it is.
    if (std::find(order.begin(), order.end(), focus) != order.end()) return;
    if (focus && focus != window_ && !::IsChild(window_, focus)) return;
    // The next button is the first met at or after the place of the one that went.
    for (HWND button : order) {
        if (!ReadsBefore(PlaceOf(button), gonePlace_)) {
            ::SetFocus(button);
            return;
        }
    }
    ::SetFocus(order.front());
}

bool CKeyboardFocus::OnMessage(UINT message) {
    switch (message) {
    case WM_SETFOCUS:
        // The window itself passes the focus on to a button; while a button that held it is
        // going away, the posted check chooses which.
        if (!gonePending_) FocusFirst();
        return true;
    case WM_KV_FOCUS_CHECK:
        MoveOnFromGone();
        return true;
    default:
        return false;
    }
}

}  // namespace kv
