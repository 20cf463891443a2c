// Placing the control window's children from a skin's Config.ini: the two colours, the
// progress bar, the nine labels and the five buttons.
#pragma once

#include <windows.h>

#include <string>

namespace kv {

enum class SkinItem {
    ProgressBar, PercentLabel, FileName, FileSize, ElapsedTime, DownSize,
    OddTime, DownSpeed, DownStatus, DownFolder, FolderButton, RunButton,
    StartButton, StopButton, CloseButton
};

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
