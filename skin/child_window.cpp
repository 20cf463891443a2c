#include "skin/child_window.h"

namespace kv {

CChildWindow::~CChildWindow() {
    if (!window_) return;
    const HWND window = window_;
    Detach();
    ::DestroyWindow(window);
}

HWND CChildWindow::Create(const char* systemClass, DWORD style, HWND parent, int id) {
    if (window_) return nullptr;
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(parent, GWLP_HINSTANCE));
    const HWND window = ::CreateWindowExA(0, systemClass, "", style, 0, 0, 0, 0, parent,
                                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                          instance, nullptr);
    if (!window) return nullptr;
    // The object's address goes with the window, and its procedure in front of the class's.
    // Not through the common controls' subclassing: that finds its data in a window property
    // at every message, and under Wine each look-up of a property is a call to the window
    // system's server; a label's new text alone passed four of them.
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetLastError(0);
    systemProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CChildWindow::HookedProc)));
    if (!systemProc_ && ::GetLastError() != 0) {
        ::DestroyWindow(window);
        return nullptr;
    }
    window_ = window;
    OnAttach();
    return window;
}

LRESULT CChildWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(message, wParam, lParam);
}

LRESULT CChildWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcA(systemProc_, window_, message, wParam, lParam);
}

void CChildWindow::Detach() noexcept {
    ::SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(systemProc_));
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    window_ = nullptr;
}

LRESULT CALLBACK CChildWindow::HookedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CChildWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = 0;
    try {
        if (message == WM_GETOBJECT) result = AnswerAccessibleRequest(window, wParam, lParam, self->accessible_);
        if (!result) result = self->WindowProc(message, wParam, lParam);
    } catch (...) {
        // No exception may unwind through the system's frames; the message then gets the
        // system class's handling.
        result = ::CallWindowProcA(self->systemProc_, window, message, wParam, lParam);
    }
    // The parent destroys its children before the objects that own them go: the object
    // outlives its window and forgets it here.
    if (message == WM_NCDESTROY) self->Detach();
    return result;
}

}  // namespace kv
