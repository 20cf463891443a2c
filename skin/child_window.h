// A child window of a system class ("BUTTON", "STATIC", ...) whose messages pass through a
// C++ object first: the base of the skinned controls.
#pragma once

#include "skin/child_accessible.h"

#include <windows.h>

#include <utility>

namespace kv {

class CChildWindow {
public:
    CChildWindow() = default;
    CChildWindow(const CChildWindow&) = delete;
    CChildWindow& operator=(const CChildWindow&) = delete;
    // Destroys the window if it still exists; it is unhooked first, so no message reaches the
    // object while it is half destroyed.
    virtual ~CChildWindow();

    // Creates the window with empty text and an empty rectangle, hooks it and runs OnAttach.
    // Null when the window cannot be made (or this object already has one).
    HWND Create(const char* systemClass, DWORD style, HWND parent, int id);
    HWND handle() const noexcept { return window_; }
    // What the window tells a screen reader; without a role the system answers for it.
    void SetAccessible(AccessibleFacts facts) { accessible_ = std::move(facts); }

protected:
    // Every message of the window; the default passes it to the system class.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The system class's own handling of a message.
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs once the window is bound to this object.
    virtual void OnAttach() {}

private:
    static LRESULT CALLBACK HookedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Gives the window its class's procedure back.
    void Detach() noexcept;

    HWND window_ = nullptr;
    WNDPROC systemProc_ = nullptr;  // the class's procedure, which this object's stands before
    AccessibleFacts accessible_;
};

}  // namespace kv
