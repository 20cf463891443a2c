#include "skin/dpi_scale.h"

namespace kv {

int ScaleToDpi(int length, int dpi) noexcept {
    if (dpi <= 0 || dpi == kDesignDpi) return length;
    return ::MulDiv(length, dpi, kDesignDpi);
}

RECT ScaleRectToDpi(const RECT& rect, int dpi) noexcept {
    return {ScaleToDpi(rect.left, dpi), ScaleToDpi(rect.top, dpi), ScaleToDpi(rect.right, dpi),
            ScaleToDpi(rect.bottom, dpi)};
}

SIZE ScaleSizeToDpi(SIZE size, int dpi) noexcept {
    return {ScaleToDpi(size.cx, dpi), ScaleToDpi(size.cy, dpi)};
}

bool UsesDoubleSizePicture(int dpi, bool doubleSizeExists) noexcept {
    return doubleSizeExists && dpi >= kDesignDpi * 3 / 2;
}

std::string DoubleSizePictureName(const std::string& name) {
    const size_t dot = name.find_last_of('.');
    const size_t slash = name.find_last_of("\\/");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return name + "@2x";
    return name.substr(0, dot) + "@2x" + name.substr(dot);
}

}  // namespace kv
