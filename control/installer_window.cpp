#include "control/installer_window.h"

#include "control/installer.h"
#include "control/installer_messages.h"
#include "control/module/module_state.h"
#include "control/resource.h"
#include "skin/child_accessible.h"

namespace {

CInstaller* OwnerOf(HWND window) {
    return reinterpret_cast<CInstaller*>(::GetWindowLongPtrA(window, DWLP_USER));
}

// A message the procedure handles: `result` goes to the system, the procedure says TRUE.
INT_PTR Handled(HWND window, LRESULT result) {
    ::SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK InstallerDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* owner = reinterpret_cast<CInstaller*>(lParam);
        ::SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(owner));
        owner->OnWindowCreated(window);
        owner->FireOnCreate();
        return FALSE;  // the default focus is not set
    }
    CInstaller* owner = OwnerOf(window);
    if (!owner) return FALSE;
    if (owner->controller.OnMessage(message, wParam, lParam)) return Handled(window, 0);
    if (owner->children.OnFocusMessage(message)) return Handled(window, 0);
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
        ::SetTextColor(dc, owner->children.textColor());
        return reinterpret_cast<INT_PTR>(::GetStockObject(NULL_BRUSH));
    }
    case WM_DRAWITEM:
        owner->children.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return Handled(window, 0);
    case WM_DESTROY:
        // A transfer still running is asked to stop, and posts nothing to this window.
        owner->controller.Detach();
        owner->downloader.SetNotifyWindow(nullptr);
        return FALSE;
    case WM_NCDESTROY:
        // Destroyed from outside (the site window went away): forget the handle.
        if (owner->embedding.window.get() == window) (void)owner->embedding.window.release();
        ::SetWindowLongPtrA(window, DWLP_USER, 0);
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

HWND CreateInstallerWindow(CInstaller& owner, HWND parent) {
    return ::CreateDialogParamA(KorvendalModuleInstance(), MAKEINTRESOURCEA(IDD_INSTALLER), parent,
                                InstallerDialogProc, reinterpret_cast<LPARAM>(&owner));
}
