#include "skin/mem2dc.h"

namespace kv {

CMem2DC::CMem2DC(HDC target) : target_(target) {
    ::GetClipBox(target, &area_);
    surface_.reset(::CreateCompatibleDC(target));
    bitmap_.reset(::CreateCompatibleBitmap(target, area_.right - area_.left, area_.bottom - area_.top));
    if (surface_ && bitmap_) previousBitmap_ = ::SelectObject(surface_.get(), bitmap_.get());
    ::SetWindowOrgEx(surface_.get(), area_.left, area_.top, nullptr);
}

CMem2DC::~CMem2DC() {
    if (!previousBitmap_) return;
    ::BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top,
             surface_.get(), area_.left, area_.top, SRCCOPY);
    ::SelectObject(surface_.get(), previousBitmap_);
}

}  // namespace kv
