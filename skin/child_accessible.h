// What a screen reader learns of a child window through Active Accessibility: its role, a
// name made of what the window is and what it shows, its state read from the window as it
// is now, the value of a progress bar and the default action of a push button. Everything
// else (place, navigation, hit test) is the system's standard answer for the window.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>

namespace kv {

struct AccessibleFacts {
    LONG role = 0;      // an MSAA role; 0 leaves the window to the system's standard answer
    std::wstring name;  // what the window is; its text follows after a space
};

// The accessible name: `name`, then the window's text, joined by a space when both exist.
std::wstring AccessibleName(const std::wstring& name, const std::wstring& text);
// The MSAA state bits of a window with that role, read from the window now.
LONG AccessibleState(HWND window, LONG role);

// The answer to WM_GETOBJECT for the client object of `window`; 0 when it is not asked for
// that object or the facts give no role, so that the system answers.
LRESULT AnswerAccessibleRequest(HWND window, WPARAM wParam, LPARAM lParam, const AccessibleFacts& facts);

}  // namespace kv
