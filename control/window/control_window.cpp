#include "control/window/control_window.h"

#include "control/resource.h"
#include "skin/child_accessible.h"

namespace {

ControlWindowOwner* OwnerOf(HWND window) {
    return reinterpret_cast<ControlWindowOwner*>(::GetWindowLongPtrA(window, DWLP_USER));
}

// A message the procedure handles: `result` goes to the system, the procedure says TRUE.
INT_PTR Handled(HWND window, LRESULT result) {
    ::SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK ControlDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* owner = reinterpret_cast<ControlWindowOwner*>(lParam);
        ::SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(owner));
        owner->OnWindowCreated(window);
        return FALSE;  // the default focus is not set
    }
    ControlWindowOwner* owner = OwnerOf(window);
    if (!owner) return FALSE;
    if (owner->OnWindowMessage(message, wParam, lParam)) return Handled(window, 0);
    switch (message) {
    case WM_GETOBJECT:
        return Handled(window, kv::AnswerAccessibleRequest(window, wParam, lParam, {ROLE_SYSTEM_CLIENT, L""}));
    case WM_ERASEBKGND:
        // The background picture covers the whole window.
        return Handled(window, 0);
    case WM_CTLCOLORSTATIC: {
        // Labels draw only their text, over the background picture.
        const auto dc = reinterpret_cast<HDC>(wParam);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, owner->LabelTextColor());
        return reinterpret_cast<INT_PTR>(::GetStockObject(NULL_BRUSH));
    }
    case WM_DRAWITEM:
        owner->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return Handled(window, 0);
    case WM_DESTROY:
        owner->OnWindowDestroying();
        return FALSE;
    case WM_NCDESTROY:
        owner->OnWindowGone(window);
        ::SetWindowLongPtrA(window, DWLP_USER, 0);
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

HWND CreateControlWindow(ControlWindowOwner& owner, HINSTANCE module, HWND parent) {
    return ::CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_INSTALLER), parent, ControlDialogProc,
                                reinterpret_cast<LPARAM>(&owner));
}
