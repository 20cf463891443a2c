// A window read as a screen reader reads it: through the system's Active Accessibility
// library (AccessibleObjectFromWindow), never through the control's own code.
#pragma once

#include <windows.h>

#include <string>

namespace kv::host {

struct AccessibleReading {
    std::wstring name;
    long role = 0;   // an MSAA role number
    long state = 0;  // MSAA state bits
    std::wstring value;
};

// Reads the client object of `window`; fails when the library gives no object for it.
[[nodiscard]] HRESULT ReadAccessible(HWND window, AccessibleReading& reading);

}  // namespace kv::host
