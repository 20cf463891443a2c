// The control window: a child dialog from template 105 of the module, created inside the
// host's site window. Its dialog procedure is the control's message handling.
#pragma once

#include <windows.h>

class CInstaller;

// Creates the window as a child of `parent`; it is not shown yet. While it is initialised it
// registers itself in the owner's embedding state, binds the downloader and fires OnCreate.
HWND CreateInstallerWindow(CInstaller& owner, HWND parent);
