#include "skin/dpi_layout_target.h"

#include "skin/dpi_scale.h"
#include "skin/skin_values.h"

namespace kv {

void DpiLayoutTarget::Move(SkinItem item, const RECT& rect) {
    if (item < SkinItem::FolderButton) {
        target_.Move(item, ScaleRectToDpi(rect, dpi_));
        return;
    }
    const SIZE size = target_.ButtonSize();
    const LONG left = ScaleToDpi(rect.left, dpi_);
    const LONG top = ScaleToDpi(rect.top, dpi_);
    target_.Move(item, {left, top, WrappingAdd(left, size.cx), WrappingAdd(top, size.cy)});
}

}  // namespace kv
