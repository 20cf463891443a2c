// The skin's window tests: a real topmost parent window playing the control window's part
// (owner-draw forwarding, transparent label colours, a white background, click counting),
// message pumping, pixels read back, and the real pointer and mouse buttons.
#pragma once

#include "base/unique_resource.h"

#include <windows.h>
#include <ole2.h>

#include <functional>
#include <vector>

namespace kv {
class CxSkinButton;
}

struct OleScope {
    OleScope() { ::OleInitialize(nullptr); }
    ~OleScope() { ::OleUninitialize(); }
};

class TestParent {
public:
    static constexpr COLORREF kBackground = RGB(255, 255, 255);
    TestParent();
    HWND handle() const { return window_.get(); }
    kv::CxSkinButton* button = nullptr;  // its WM_DRAWITEM goes to PaintFace
    int clicks = 0;                      // BN_CLICKED received

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    kv::unique_hwnd window_;
};

void PumpMessages();
// Pumps until `done` holds, at most `rounds` times with a short sleep between (input from
// SendInput and SetCursorPos arrives through the server); says whether it held.
bool PumpUntil(const std::function<bool()>& done, int rounds = 200);

// A window's client area, one COLORREF per pixel, row by row.
struct Pixels {
    int width = 0;
    std::vector<COLORREF> colors;
    int height() const { return width ? static_cast<int>(colors.size()) / width : 0; }
    COLORREF at(int x, int y) const { return colors[static_cast<size_t>(y * width + x)]; }
};
Pixels ReadScreenPixels(HWND window);   // as the screen shows it
Pixels PrintClientPixels(HWND window);  // as WM_PRINTCLIENT draws it

kv::unique_hbitmap SolidBitmap(int width, int height, COLORREF color);

void PointAt(HWND window);  // the pointer on the window's centre
void PointAway();           // the pointer far from every test window
void SendLeftButton(bool down);
