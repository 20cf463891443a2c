#include "skin/skin_layout.h"

#include "skin/skin_definition.h"
#include "skin/skin_values.h"

#include <array>

namespace kv {
namespace {

struct KeyedItem {
    const char* key;
    SkinItem item;
};

constexpr std::array<KeyedItem, 8> kLabels = {{
    {"file_name", SkinItem::FileName},
    {"file_size", SkinItem::FileSize},
    {"elapsed_time", SkinItem::ElapsedTime},
    {"down_size", SkinItem::DownSize},
    {"odd_time", SkinItem::OddTime},
    {"down_speed", SkinItem::DownSpeed},
    {"down_status", SkinItem::DownStatus},
    {"down_folder", SkinItem::DownFolder},
}};

constexpr std::array<KeyedItem, 5> kButtons = {{
    {"btn_folder", SkinItem::FolderButton},
    {"btn_run", SkinItem::RunButton},
    {"btn_start", SkinItem::StartButton},
    {"btn_stop", SkinItem::StopButton},
    {"btn_close", SkinItem::CloseButton},
}};

RECT ToRect(const SkinRect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

HRESULT LayoutSkin(const std::string& definitionPath, SkinLayoutTarget& target) {
    const auto read = [&](const char* key) { return ReadSkinValue(kSkinSection, key, definitionPath); };

    uint32_t textColor = 0;
    if (!ParseColor(read("text_color"), textColor)) return E_INVALIDARG;
    target.SetTextColor(textColor);

    const std::string progressPos = read("progress_pos");
    const std::string progressColor = read("progress_text_color");
    const std::string percentPos = read("progress_text_pos");
    SkinRect rect;
    if (!ParseRect(progressPos, rect)) return E_INVALIDARG;
    uint32_t barColor = 0;
    if (!ParseColor(progressColor, barColor)) return E_INVALIDARG;
    target.SetBarColor(barColor);
    target.Move(SkinItem::ProgressBar, ToRect(rect));
    if (!ParseRect(percentPos, rect)) return E_INVALIDARG;
    target.Move(SkinItem::PercentLabel, ToRect(rect));

    std::array<std::string, kLabels.size()> labelValues;
    for (size_t i = 0; i < kLabels.size(); ++i) labelValues[i] = read(kLabels[i].key);
    for (size_t i = 0; i < kLabels.size(); ++i) {
        if (!ParseRect(labelValues[i], rect)) return E_INVALIDARG;
        target.Move(kLabels[i].item, ToRect(rect));
    }

    std::array<std::string, kButtons.size()> buttonValues;
    for (size_t i = 0; i < kButtons.size(); ++i) buttonValues[i] = read(kButtons[i].key);
    const SIZE size = target.ButtonSize();
    for (size_t i = 0; i < kButtons.size(); ++i) {
        SkinPoint point;
        if (!ParsePoint(buttonValues[i], point)) return E_INVALIDARG;
        target.Move(kButtons[i].item, {point.x, point.y, WrappingAdd(point.x, size.cx),
                                       WrappingAdd(point.y, size.cy)});
    }
    return S_OK;
}

}  // namespace kv
