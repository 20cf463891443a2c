// Dresses the control window from the skin unpacked in the base folder: the pictures, the
// first texts, the default download folder, the remote size, then the places of every
// control from Config.ini.
#pragma once

#include <windows.h>

#include <string>

class CDownloadController;
class CHttpDownloaderEx;
class CInstallerChildren;

struct SkinBuildContext {
    HWND window;
    std::string& basePath;  // an empty base folder is formed by the skin path rule
    CInstallerChildren& children;
    CDownloadController& controller;
    CHttpDownloaderEx& downloader;
};

// Pictures, first texts, download folder, remote size and what lies on disk. A failed size
// query shows "0 KB" and posts WM_INSTALLER_ERROR to the window.
void LoadSkin(const SkinBuildContext& context);
// Places the controls; E_INVALIDARG at the first key that is missing or short (what was
// placed before it stays), else S_OK.
HRESULT LayoutSkinWindow(const SkinBuildContext& context);
// The same checks without a window: E_INVALIDARG when LayoutSkinWindow would fail.
HRESULT CheckSkinDefinition(std::string& basePath);
