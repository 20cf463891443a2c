// Notifications the downloader posts to its notify window, and the progress record whose
// address travels with WM_DOWNLOAD_PROGRESS.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr UINT WM_DOWNLOAD_BEGIN = WM_USER + 100;     // 1124: request sent
constexpr UINT WM_DOWNLOAD_PROGRESS = WM_USER + 101;  // 1125: wParam = DownloadProgress*
constexpr UINT WM_DOWNLOAD_DONE = WM_USER + 102;      // 1126: ended without a stop request
constexpr UINT WM_DOWNLOAD_STOPPED = WM_USER + 103;   // 1127: ended because of Stop()

struct DownloadProgress {
    uint32_t lastChunk = 0;  // bytes written by the step that posted the message
    int64_t received = 0;    // bytes of the file now on disk, resumed part included
};
