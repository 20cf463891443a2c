#include "skin/skin_layout.h"

#include "skin/skin_definition.h"
#include "skin/skin_values.h"

#include <array>

namespace kv {
namespace {

// Where each group of keys starts in kSkinKeys.
constexpr size_t kTextColorKey = 0;
constexpr size_t kProgressPosKey = 1;
constexpr size_t kProgressColorKey = 2;
constexpr size_t kPercentPosKey = 3;
constexpr size_t kFirstLabelKey = 4;
constexpr size_t kLabelCount = 8;
constexpr size_t kFirstButtonKey = kFirstLabelKey + kLabelCount;
constexpr size_t kButtonCount = kSkinKeys.size() - kFirstButtonKey;
static_assert(kSkinKeys[kProgressColorKey].kind == SkinValueKind::Color);
static_assert(kSkinKeys[kFirstLabelKey + kLabelCount - 1].kind == SkinValueKind::Rect);
static_assert(kSkinKeys[kFirstButtonKey].kind == SkinValueKind::Point);

RECT ToRect(const SkinRect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

HRESULT LayoutSkin(const std::string& definitionPath, SkinLayoutTarget& target) {
    const SkinSection section(kSkinSection, definitionPath);
    const auto read = [&](size_t k) { return section.Value(kSkinKeys[k].key); };

    uint32_t textColor = 0;
    if (!ParseColor(read(kTextColorKey), textColor)) return E_INVALIDARG;
    target.SetTextColor(textColor);

    const std::string progressPos = read(kProgressPosKey);
    const std::string progressColor = read(kProgressColorKey);
    const std::string percentPos = read(kPercentPosKey);
    SkinRect rect;
    if (!ParseRect(progressPos, rect)) return E_INVALIDARG;
    uint32_t barColor = 0;
    if (!ParseColor(progressColor, barColor)) return E_INVALIDARG;
    target.SetBarColor(barColor);
    target.Move(SkinItem::ProgressBar, ToRect(rect));
    if (!ParseRect(percentPos, rect)) return E_INVALIDARG;
    target.Move(SkinItem::PercentLabel, ToRect(rect));

    std::array<std::string, kLabelCount> labelValues;
    for (size_t i = 0; i < kLabelCount; ++i) labelValues[i] = read(kFirstLabelKey + i);
    for (size_t i = 0; i < kLabelCount; ++i) {
        if (!ParseRect(labelValues[i], rect)) return E_INVALIDARG;
        target.Move(kSkinKeys[kFirstLabelKey + i].item, ToRect(rect));
    }

    std::array<std::string, kButtonCount> buttonValues;
    for (size_t i = 0; i < kButtonCount; ++i) buttonValues[i] = read(kFirstButtonKey + i);
    const SIZE size = target.ButtonSize();
    for (size_t i = 0; i < kButtonCount; ++i) {
        SkinPoint point;
        if (!ParsePoint(buttonValues[i], point)) return E_INVALIDARG;
        target.Move(kSkinKeys[kFirstButtonKey + i].item, {point.x, point.y, WrappingAdd(point.x, size.cx),
                                                           WrappingAdd(point.y, size.cy)});
    }
    return S_OK;
}

}  // namespace kv
