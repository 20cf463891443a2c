#include "skin/child_window.h"

#include <commctrl.h>

namespace kv {
namespace {

// One hook per window: the object's address is the hook's data.
constexpr UINT_PTR kSubclassId = 1;

}  // namespace

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
    if (!::SetWindowSubclass(window, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
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
    return ::DefSubclassProc(window_, message, wParam, lParam);
}

void CChildWindow::Detach() noexcept {
    ::RemoveWindowSubclass(window_, SubclassProc, kSubclassId);
    window_ = nullptr;
}

LRESULT CALLBACK CChildWindow::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam, UINT_PTR, DWORD_PTR object) {
    auto* self = reinterpret_cast<CChildWindow*>(object);
    LRESULT result = 0;
    try {
        if (message == WM_GETOBJECT) result = AnswerAccessibleRequest(window, wParam, lParam, self->accessible_);
        if (!result) result = self->WindowProc(message, wParam, lParam);
    } catch (...) {
        // No exception may unwind through the system's frames; the message then gets the
        // system class's handling.
        result = ::DefSubclassProc(window, message, wParam, lParam);
    }
    // The parent destroys its children before the objects that own them go: the object
    // outlives its window and forgets it here.
    if (message == WM_NCDESTROY) self->Detach();
    return result;
}

}  // namespace kv
