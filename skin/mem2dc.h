// An off-screen drawing surface for the clip box of a target DC; what is drawn into it goes to
// the target in one copy when it is destroyed, so a paint made of many fills never flickers.
#pragma once

#include "base/unique_resource.h"

namespace kv {

class CMem2DC {
public:
    // Drawing uses the target's coordinates.
    explicit CMem2DC(HDC target);
    CMem2DC(const CMem2DC&) = delete;
    CMem2DC& operator=(const CMem2DC&) = delete;
    ~CMem2DC();

    HDC get() const noexcept { return surface_.get(); }
    const RECT& area() const noexcept { return area_; }

private:
    unique_hdc surface_;
    unique_hbitmap bitmap_;
    HGDIOBJ previousBitmap_ = nullptr;
    HDC target_;
    RECT area_{};
};

}  // namespace kv
