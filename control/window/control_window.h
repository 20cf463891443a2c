// The control window: a child dialog from template 105 of the module, created inside the
// host's site window. Its dialog procedure hands every message to the window's owner through
// the narrow ControlWindowOwner.
#pragma once

#include <windows.h>

class ControlWindowOwner {
public:
    // WM_INITDIALOG: the window exists; the owner creates its children and fires OnCreate.
    virtual void OnWindowCreated(HWND window) = 0;
    // The controller's messages; false for any other.
    virtual bool OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual COLORREF LabelTextColor() const = 0;
    virtual void DrawItem(const DRAWITEMSTRUCT& item) = 0;
    // WM_DESTROY: nothing more may be posted to or shown in the window.
    virtual void OnWindowDestroying() = 0;
    // WM_NCDESTROY: the handle is no longer the owner's to destroy.
    virtual void OnWindowGone(HWND window) = 0;

protected:
    ~ControlWindowOwner() = default;
};

// Creates the window as a child of `parent` from the template in `module`; it is not shown
// yet. The owner hears of it while it is initialised.
HWND CreateControlWindow(ControlWindowOwner& owner, HINSTANCE module, HWND parent);
