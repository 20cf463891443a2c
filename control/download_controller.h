// CDownloadController: the control window's handling of the five buttons and of the
// downloader's notifications. It owns the transfer state (running, close asked, start tick,
// elapsed seconds, bytes since the start) and the target of the transfer, and drives the
// downloader, the child controls (through ControllerPanel) and the object (through
// ControllerOwner).
#pragma once

#include "control/controller_owner.h"
#include "control/controller_panel.h"

#include <windows.h>

#include <cstdint>
#include <string>

class CHttpDownloaderEx;

// The file a transfer fetches and where it goes.
struct TransferTarget {
    std::string url;             // the server folder followed by the file name
    std::string fileName;
    std::string downloadFolder;
    std::string targetPath;      // downloadFolder, a backslash, fileName
    int64_t fileSize = 0;        // on the server, as last queried; 0 when unknown
};

class CDownloadController {
public:
    CDownloadController(ControllerPanel& panel, ControllerOwner& owner, CHttpDownloaderEx& downloader)
        : panel_(panel), owner_(owner), downloader_(downloader) {}
    CDownloadController(const CDownloadController&) = delete;
    CDownloadController& operator=(const CDownloadController&) = delete;

    // The window that receives the timer and the controller's own posts.
    void Attach(HWND window);
    // The window is going away: a running transfer is asked to stop and nothing more is
    // posted or shown for it.
    void Detach();

    // Handles the messages of the controller; false for any other message. Every message
    // handled here answers 0.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Set once the skin is in place; notifications before that are dropped.
    void SetInitialized() { initialized_ = true; }
    bool initialized() const { return initialized_; }
    TransferTarget& target() { return target_; }
    const TransferTarget& target() const { return target_; }

    // The download folder becomes `folder` (and the process's current folder, which the
    // folder dialog opens on); the target path and label 216 follow it.
    void SetDownloadFolder(const std::string& folder);
    // Shows what of the target file lies on disk; enables or disables run when there is one.
    void RefreshLocalState();
    // The bar and label 214 for `done` of `total` bytes.
    void UpdateProgress(double done, double total);

    bool downloading() const { return downloading_; }
    bool closePending() const { return closePending_; }
    bool timerRunning() const { return timerRunning_; }
    uint32_t elapsedSeconds() const { return elapsedSeconds_; }
    int64_t transferBytes() const { return transferBytes_; }

private:
    void OnCommand(int id);
    void Start();
    void StopTransfer();
    void Close();
    void Run();
    void ChooseFolder();
    void OnProgress();
    void OnDone();
    void OnStopped();
    void OnTimer();
    void ShowLastError();
    void ShowIdleButtons(bool runEnabled);
    void StartTimer();
    void StopTimer();
    void PostToWindow(UINT message);

    ControllerPanel& panel_;
    ControllerOwner& owner_;
    CHttpDownloaderEx& downloader_;
    HWND window_ = nullptr;
    TransferTarget target_;
    bool initialized_ = false;
    bool downloading_ = false;
    bool closePending_ = false;
    bool timerRunning_ = false;
    uint32_t startTick_ = 0;
    uint32_t elapsedSeconds_ = 0;
    int64_t transferBytes_ = 0;
};
