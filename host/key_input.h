// The keyboard as a person uses it: one key, pressed and released through the system's
// input queue, so that it reaches the focused window by the way every key does.
#pragma once

#include <windows.h>

#include <string>

namespace kv::host {

// "Tab", "Shift+Tab", "Space", "Enter" or "Escape"; E_INVALIDARG for any other name. The
// key is handled later, by the thread's message loop.
[[nodiscard]] HRESULT PressKey(const std::wstring& name);

}  // namespace kv::host
