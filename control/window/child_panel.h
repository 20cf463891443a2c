// The control window's panel of child controls: the progress bar, nine labels and five skin
// buttons, created empty and without size when the window is initialised, placed by the skin
// later. It is the controller's panel and the skin layout's target.
#pragma once

#include "base/unique_resource.h"
#include "control/download/controller_panel.h"
#include "control/resource.h"
#include "control/window/keyboard_focus.h"
#include "skin/color_progress_ctrl.h"
#include "skin/skin_button.h"
#include "skin/skin_layout.h"
#include "skin/transparent_static.h"

#include <windows.h>

#include <array>

class CChildPanel final : public ControllerPanel, public kv::SkinLayoutTarget {
public:
    static constexpr int kLabelCount = 9;
    static constexpr int kButtonCount = 5;

    CChildPanel() = default;
    CChildPanel(const CChildPanel&) = delete;
    CChildPanel& operator=(const CChildPanel&) = delete;

    // Labels 208 to 216, buttons 217 to 221, then bar 207; run disabled, stop hidden.
    void Create(HWND window);

    // ControllerPanel
    void SetText(int id, const std::string& text) override;
    void Show(int id, bool shown) override;
    void Enable(int id, bool enabled) override;
    void SetBarRange(int32_t lower, int32_t upper) override;
    void SetBarPosition(int32_t position) override;

    // SkinLayoutTarget
    void SetTextColor(COLORREF color) override { textColor_ = color; }
    void SetBarColor(COLORREF color) override { bar_.SetBarColor(color); }
    void Move(kv::SkinItem item, const RECT& rect) override;
    SIZE ButtonSize() const override { return buttonSize_; }

    void SetButtonSize(SIZE size) { buttonSize_ = size; }
    COLORREF textColor() const { return textColor_; }
    // The skin button with control id `id` (217 to 221), or null.
    kv::CxSkinButton* Button(int id);
    // The background picture goes into the dialog's picture control 201; the bitmap is kept
    // here, since the control shows it without owning it.
    void SetBackground(kv::unique_hbitmap bitmap);
    // The picture control shows nothing, and the last background is released.
    void ClearBackground();
    // The pixels per inch of the window's screen: the skin's places and pictures, designed
    // at 96, are scaled by dpi / 96.
    int Dpi() const;
    // The size of the window's client area: all of a picture that can ever be seen.
    SIZE ClientSize() const;
    // Paints an owner-drawn button; false for ids that are not the skin buttons.
    bool DrawItem(const DRAWITEMSTRUCT& item);
    // A key on the container's accelerator path; true when the buttons used it.
    bool TranslateKey(const MSG& message);
    // The window's focus and the focus checks it posts itself; true when handled.
    bool OnFocusMessage(UINT message) { return keyboard_.OnMessage(message); }

private:
    HWND Child(int id) const;

    HWND window_ = nullptr;
    kv::CColorProgressCtrl bar_;
    std::array<kv::CTransparentStatic, kLabelCount> labels_;
    std::array<kv::CxSkinButton, kButtonCount> buttons_;
    kv::unique_hbitmap background_;
    COLORREF textColor_ = 0;
    SIZE buttonSize_{};
    kv::CKeyboardFocus keyboard_{IDC_BTN_RUN, IDC_BTN_FOLDER};
};
