// The text of a window (a caption, a label's text), read whole.
#pragma once

#include <windows.h>

#include <string>

namespace kv::host {

std::wstring WindowText(HWND window);

}  // namespace kv::host
