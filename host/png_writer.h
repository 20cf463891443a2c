// Writes captured window pixels to a PNG file through the platform's imaging component.
#pragma once

#include <string>

#include "host/window_capture.h"

namespace kv::host {

// Opaque 24-bit colour: GDI leaves the alpha byte of captured pixels at 0, which a 32-bit
// picture with alpha would show as fully transparent.
[[nodiscard]] HRESULT WritePng(const std::wstring& path, const WindowPixels& pixels);

}  // namespace kv::host
