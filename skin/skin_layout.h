// Placing the control window's children from a skin's Config.ini: the two colours, the
// progress bar, the nine labels and the five buttons.
#pragma once

#include <windows.h>

#include <array>
#include <string>

namespace kv {

enum class SkinItem {
    ProgressBar, PercentLabel, FileName, FileSize, ElapsedTime, DownSize,
    OddTime, DownSpeed, DownStatus, DownFolder, FolderButton, RunButton,
    StartButton, StopButton, CloseButton
};

enum class SkinValueKind { Color, Rect, Point };

// A key of [main]: what its value is, and the control it places (colours place none).
struct SkinKey {
    const char* key;
    SkinValueKind kind;
    SkinItem item;
};

// The 17 keys in the order the layout parses them, so the first short key is where it stops:
// text colour; progress bar place, its colour, the percentage label; the eight other labels;
// the buttons folder, run, start, stop, close.
inline constexpr std::array<SkinKey, 17> kSkinKeys = {{
    {"text_color", SkinValueKind::Color, SkinItem::ProgressBar},
    {"progress_pos", SkinValueKind::Rect, SkinItem::ProgressBar},
    {"progress_text_color", SkinValueKind::Color, SkinItem::ProgressBar},
    {"progress_text_pos", SkinValueKind::Rect, SkinItem::PercentLabel},
    {"file_name", SkinValueKind::Rect, SkinItem::FileName},
    {"file_size", SkinValueKind::Rect, SkinItem::FileSize},
    {"elapsed_time", SkinValueKind::Rect, SkinItem::ElapsedTime},
    {"down_size", SkinValueKind::Rect, SkinItem::DownSize},
    {"odd_time", SkinValueKind::Rect, SkinItem::OddTime},
    {"down_speed", SkinValueKind::Rect, SkinItem::DownSpeed},
    {"down_status", SkinValueKind::Rect, SkinItem::DownStatus},
    {"down_folder", SkinValueKind::Rect, SkinItem::DownFolder},
    {"btn_folder", SkinValueKind::Point, SkinItem::FolderButton},
    {"btn_run", SkinValueKind::Point, SkinItem::RunButton},
    {"btn_start", SkinValueKind::Point, SkinItem::StartButton},
    {"btn_stop", SkinValueKind::Point, SkinItem::StopButton},
    {"btn_close", SkinValueKind::Point, SkinItem::CloseButton},
}};

// What the layout acts on; the control window implements it.
class SkinLayoutTarget {
public:
    virtual void SetTextColor(COLORREF color) = 0;
    virtual void SetBarColor(COLORREF color) = 0;
    virtual void Move(SkinItem item, const RECT& rect) = 0;  // left, top, right, bottom
    virtual SIZE ButtonSize() const = 0;

protected:
    ~SkinLayoutTarget() = default;
};

// Reads the 17 keys of [main] from definitionPath and applies them in a fixed order: text
// colour; progress bar colour and place, percentage label; the eight other labels; the
// buttons folder, run, start, stop, close. S_OK, or E_INVALIDARG at the first key that is
// missing, empty or short; what was applied before that key stays applied.
[[nodiscard]] HRESULT LayoutSkin(const std::string& definitionPath, SkinLayoutTarget& target);

}  // namespace kv
