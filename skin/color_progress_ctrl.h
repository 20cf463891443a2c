// The skinned progress bar: a "msctls_progress32" window that paints its own bar in the
// skin's bar colour, in 255 bands, over the button-face colour.
#pragma once

#include "skin/child_window.h"

namespace kv {

class CColorProgressCtrl : public CChildWindow {
public:
    CColorProgressCtrl();

    using CChildWindow::Create;
    // Registers the progress class first (InitCommonControlsEx).
    HWND Create(DWORD style, HWND parent, int id);

    // The bar is drawn for 0 to 100 whatever the window's own range is.
    void SetPosition(int position);
    void SetBarColor(COLORREF color);
    // The window's own range (PBM_SETRANGE32); the painting keeps 0 to 100.
    void SetRange(int lower, int upper);

    int position() const noexcept { return position_; }
    COLORREF barColor() const noexcept { return barColor_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC target);

    int lower_ = 0;
    int upper_ = 100;
    int position_ = 0;
    COLORREF backgroundColor_;
    COLORREF barColor_ = RGB(0, 0, 255);
};

}  // namespace kv
