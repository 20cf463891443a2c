// Shared pieces of the skin's window tests: a real top-level parent window that plays the
// control window's part (owner-draw forwarding, transparent label colours, a plain background,
// click counting), message pumping, pixels read back from the screen, and real mouse input.
#pragma once

#include "base/unique_resource.h"

#include <windows.h>
#include <ole2.h>

#include <functional>
#include <vector>

namespace kv {
class CxSkinButton;
}

// OLE for the thread, for as long as the object lives.
class OleScope {
public:
    OleScope() { ::OleInitialize(nullptr); }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;
    ~OleScope() { ::OleUninitialize(); }
};

// A topmost popup at a fixed place on the screen, painted in `background`.
class TestParent {
public:
    static constexpr COLORREF kBackground = RGB(255, 255, 255);
    static constexpr COLORREF kTextColor = RGB(0, 0, 0);

    TestParent();
    HWND handle() const { return window_.get(); }
    // The button whose WM_DRAWITEM goes to PaintFace.
    kv::CxSkinButton* button = nullptr;
    int clicks = 0;  // BN_CLICKED received

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    kv::unique_hwnd window_;
};

// Dispatches what is queued now.
void PumpMessages();
// Pumps until `done` holds, at most `rounds` times with a short sleep between rounds (input
// from SendInput and SetCursorPos arrives through the server); says whether it held.
bool PumpUntil(const std::function<bool()>& done, int rounds = 200);

// The client area of `window` as the screen shows it, one COLORREF per pixel, row by row.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> colors;
    COLORREF at(int x, int y) const { return colors[static_cast<size_t>(y * width + x)]; }
};
Pixels ReadScreenPixels(HWND window);
// What `window` draws on WM_PRINTCLIENT into a bitmap of its client size.
Pixels PrintClientPixels(HWND window);

// A bitmap of the given size in one colour.
kv::unique_hbitmap SolidBitmap(int width, int height, COLORREF color);

// The mouse pointer on the centre of `window`, or far from every test window.
void PointAt(HWND window);
void PointAway();
// A left button press and release where the pointer is, through the input queue.
void SendLeftButton(bool down);
