// Window messages of the control window's own (beyond the downloader's notifications).
#pragma once

#include <windows.h>

constexpr UINT WM_INSTALLER_CLOSE = WM_USER + 110;  // 1134: fire OnClose
constexpr UINT WM_INSTALLER_ERROR = WM_USER + 111;  // 1135: show the engine's last error
