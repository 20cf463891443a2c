#include "control/installer_window.h"

#include "control/installer.h"
#include "control/installer_messages.h"
#include "control/module_state.h"
#include "control/resource.h"

namespace {

constexpr int kReceiveBufferSize = 102400;

CInstaller* OwnerOf(HWND window) {
    return reinterpret_cast<CInstaller*>(::GetWindowLongPtrA(window, DWLP_USER));
}

// A message the procedure handles: `result` goes to the system, the procedure says TRUE.
INT_PTR Handled(HWND window, LRESULT result) {
    ::SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return TRUE;
}

void OnInitDialog(HWND window, CInstaller& owner) {
    owner.embedding.window.reset(window);
    // A failure shows later, when a transfer fails.
    (void)owner.downloader.Initialize(window, kReceiveBufferSize);
    owner.FireOnCreate();
}

INT_PTR CALLBACK InstallerDialogProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* owner = reinterpret_cast<CInstaller*>(lParam);
        ::SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(owner));
        OnInitDialog(window, *owner);
        return FALSE;  // the default focus is not set
    }
    CInstaller* owner = OwnerOf(window);
    if (!owner) return FALSE;
    switch (message) {
    case WM_ERASEBKGND:
        // The background picture covers the whole window.
        return Handled(window, 0);
    case WM_INSTALLER_CLOSE:
        owner->FireOnClose();
        return Handled(window, 0);
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
