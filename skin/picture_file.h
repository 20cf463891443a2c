// Loading a skin picture (JPEG, or whatever else the platform's OLE picture loader reads from a
// path) into a screen bitmap of its own pixel size.
#pragma once

#include "base/unique_resource.h"

#include <string>

namespace kv {

// A new screen bitmap with the picture at `path` (relative to the current folder or absolute),
// or none when it cannot be loaded; `width` and `height` are then left as they were. The pixel
// size comes from the picture's HIMETRIC size at the pixels per inch of `window`'s
// whole-window DC. With `part`, only the picture's top-left part of at most that size is
// kept, for a picture of which no more can ever be seen; `width` and `height` still give the
// whole picture's size. The caller owns the bitmap.
unique_hbitmap LoadPictureFile(HWND window, const std::string& path, int* width = nullptr,
                               int* height = nullptr, const SIZE* part = nullptr);

}  // namespace kv
