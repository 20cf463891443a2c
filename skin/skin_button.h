// The skinned push button: an owner-drawn "BUTTON" whose face is one of four pictures
// (normal, pressed, mouse over, disabled) and which follows the mouse to show them.
#pragma once

#include "base/unique_resource.h"
#include "skin/child_window.h"

#include <functional>

namespace kv {

class CxSkinButton : public CChildWindow {
public:
    CxSkinButton();

    using CChildWindow::Create;
    HWND Create(DWORD style, HWND parent, int id) { return Create("BUTTON", style, parent, id); }

    // Releases the pictures held so far and takes these. Without a disabled picture the
    // normal one serves the disabled look too.
    void AssignPictures(unique_hbitmap normal, unique_hbitmap pressed, unique_hbitmap over,
                        unique_hbitmap disabled);
    // The parent forwards its WM_DRAWITEM for this button here.
    void PaintFace(const DRAWITEMSTRUCT& item);
    // The button's caption becomes its window text, for a screen reader, while its face
    // stays the picture alone.
    void SetHiddenCaption(const wchar_t* caption);
    // With `shown`, the focused button draws a dotted rectangle of `color` inside its edge.
    void ShowFocusCue(bool shown, COLORREF color);

    // Sees each key the button is sent (WM_KEYDOWN) before the button does; a key it uses
    // (returns true for) goes no further. Keys reach a button directly when its container's
    // accelerator path is not in use, as while a transfer pumps messages.
    std::function<bool(const MSG&)> keyHandler;

    bool mouseOver = false;   // the mouse is over the button and its leaving is tracked
    bool buttonDown = false;  // the left button went down here and is still held
    COLORREF captionColor;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnAttach() override;

private:
    void OnMouseMove(POINT position);
    void OnLeftButtonDown();
    bool IsPushed() const;
    void DrawPicture(HDC target, const RECT& area, HBITMAP picture) const;
    void DrawCaption(HDC target, const RECT& area, const char* caption, COLORREF color) const;

    unique_hbitmap normalPicture_;
    unique_hbitmap pressedPicture_;
    unique_hbitmap overPicture_;
    unique_hbitmap disabledPicture_;  // empty: the normal picture serves
    bool captionShown_ = true;
    bool focusCueShown_ = false;
    COLORREF focusCueColor_ = 0;
};

// Sends the parent the command a click on `button` sends, later, from the message queue.
// False when the button is disabled or hidden, which a click could not reach either.
bool PressButton(HWND button);
// The dotted focus cue: every other pixel of the rectangle `inset` pixels inside `area`.
void DrawFocusCue(HDC target, const RECT& area, int inset, COLORREF color);

}  // namespace kv
