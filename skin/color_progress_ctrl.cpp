#include "skin/color_progress_ctrl.h"

#include "base/unique_resource.h"
#include "skin/mem2dc.h"
#include "skin/progress_bands.h"

#include <commctrl.h>

namespace kv {

CColorProgressCtrl::CColorProgressCtrl() : backgroundColor_(::GetSysColor(COLOR_BTNFACE)) {}

HWND CColorProgressCtrl::Create(DWORD style, HWND parent, int id) {
    const INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&classes);
    return Create(PROGRESS_CLASSA, style, parent, id);
}

void CColorProgressCtrl::SetPosition(int position) {
    position_ = position;
    const auto previous = static_cast<int>(::SendMessageA(handle(), PBM_SETPOS, static_cast<WPARAM>(position), 0));
    // The accessible value is the window's position: a screen reader hears of its changes.
    if (previous != static_cast<int>(::SendMessageA(handle(), PBM_GETPOS, 0, 0))) {
        ::NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, handle(), OBJID_CLIENT, CHILDID_SELF);
    }
    // The window keeps its position within its range and repaints only when that changes;
    // the bar follows the stored position (101 shows empty), so it is repainted here as well.
    ::InvalidateRect(handle(), nullptr, FALSE);
}

void CColorProgressCtrl::SetBarColor(COLORREF color) {
    barColor_ = color;
    ::InvalidateRect(handle(), nullptr, FALSE);
}

void CColorProgressCtrl::SetRange(int lower, int upper) {
    ::SendMessageA(handle(), PBM_SETRANGE32, static_cast<WPARAM>(lower), upper);
}

LRESULT CColorProgressCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        const unique_hdc_paint paint(handle());
        if (paint) Paint(paint.get());
        return 0;
    }
    case WM_PRINTCLIENT:
        // Pictures of the window (WM_PRINT) come through here.
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint covers the whole client area
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

void CColorProgressCtrl::Paint(HDC target) {
    RECT client;
    ::GetClientRect(handle(), &client);
    const int width = client.right;
    const int height = client.bottom;
    const int filled = ProgressFilledWidth(position_, lower_, upper_, width);
    if (filled == 0) {
        ::FillRect(target, &client, ::GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    const CMem2DC canvas(target);
    const unique_hbrush bar(::CreateSolidBrush(barColor_));
    int left = 0;
    for (int band = 0; band < kProgressBandCount && left < filled; ++band) {
        const int right = ProgressBandRight(band, width);
        const RECT area = {left, 0, right, height + 1};
        ::FillRect(canvas.get(), &area, bar.get());
        left = right;
    }
    if (filled < width) {
        const unique_hbrush background(::CreateSolidBrush(backgroundColor_));
        const RECT rest = {filled, 0, width, height};
        ::FillRect(canvas.get(), &rest, background.get());
    }
}

}  // namespace kv
