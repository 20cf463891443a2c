// Lays a skin out on a screen of any resolution: the places Config.ini gives in 96 dpi
// pixels are scaled by dpi / 96 on their way to the real target.
#pragma once

#include "skin/skin_layout.h"

namespace kv {

class DpiLayoutTarget final : public SkinLayoutTarget {
public:
    DpiLayoutTarget(SkinLayoutTarget& target, int dpi) : target_(target), dpi_(dpi) {}

    void SetTextColor(COLORREF color) override { target_.SetTextColor(color); }
    void SetBarColor(COLORREF color) override { target_.SetBarColor(color); }
    // A rectangle's edges are scaled each on its own; a button's corner is scaled and its
    // size is the target's button size, already that of its scaled pictures.
    void Move(SkinItem item, const RECT& rect) override;
    SIZE ButtonSize() const override { return target_.ButtonSize(); }

private:
    SkinLayoutTarget& target_;
    int dpi_;
};

}  // namespace kv
