// CDownloadController: the control window's handling of the five buttons and of the
// transfer's notifications. It alone owns the job (the transfer target, its size, the figures
// of its transfers) and the transfer state (running, close asked), drives the engine through
// TransferEngine, the child controls through ControllerPanel and the object through
// ControllerOwner. Failures reach it as values and are shown one box at a time.
#pragma once

#include "control/download/controller_clock.h"
#include "control/download/controller_owner.h"
#include "control/download/controller_panel.h"
#include "control/download/transfer_engine.h"
#include "control/download/transfer_job.h"

#include <windows.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

class CDownloadController {
public:
    CDownloadController(ControllerPanel& panel, ControllerOwner& owner, kv::TransferEngine& engine,
                        const kv::ControllerClock& clock)
        : panel_(panel), owner_(owner), engine_(engine), clock_(clock) {}
    CDownloadController(const CDownloadController&) = delete;
    CDownloadController& operator=(const CDownloadController&) = delete;

    // The window that receives the timer, the engine's notices and the controller's own
    // posts. A job begun before the window existed is shown in it now.
    void Attach(HWND window);
    // The window is going away: a running transfer is asked to stop and nothing more is
    // posted or shown for it.
    void Detach();

    // Handles the messages of the controller; false for any other message. Every message
    // handled here answers 0.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // While Init prepares a job, its transfers pump messages: start, folder and run do
    // nothing meanwhile.
    void SetPreparing(bool preparing) { preparing_ = preparing; }
    // A new job: target, size and figures from `job` and nothing from the last job; the
    // window shows it, and a failed size query is shown as the job's error.
    void BeginJob(const kv::NewJob& job);

    bool initialized() const { return initialized_; }
    bool downloading() const { return downloading_; }
    bool closePending() const { return closePending_; }
    bool timerRunning() const { return timerRunning_; }
    const kv::TransferTarget& target() const { return target_; }
    const kv::JobCounters& counters() const { return counters_; }

private:
    struct QueuedFailure {
        kv::Failure failure;
        uint32_t job;  // the job it belongs to
    };

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
    void ShowJob();
    void SetDownloadFolder(const std::string& folder);
    void RefreshLocalState();
    void UpdateProgress(double done, double total);
    // Queues the failure and shows every queued one, each in a box of its own after the last
    // box has closed.
    void ShowFailure(const kv::Failure& failure);
    // Queues the failure and posts WM_INSTALLER_ERROR, which shows it.
    void ShowFailureLater(const kv::Failure& failure);
    void ShowQueuedFailures();
    void ShowIdleButtons(bool runEnabled);
    void StartTimer();
    void StopTimer();
    void PostToWindow(UINT message);

    ControllerPanel& panel_;
    ControllerOwner& owner_;
    kv::TransferEngine& engine_;
    const kv::ControllerClock& clock_;
    HWND window_ = nullptr;

    kv::TransferTarget target_;
    kv::JobCounters counters_;
    uint32_t job_ = 0;  // numbers the jobs, so that a late failure knows whether it is current
    std::optional<kv::Failure> unshownSizeFailure_;  // until a window can show it
    std::optional<kv::InputMoment> startPress_;      // the input that started the transfer

    bool initialized_ = false;
    bool preparing_ = false;
    bool downloading_ = false;
    bool closePending_ = false;
    bool timerRunning_ = false;

    std::deque<QueuedFailure> unshown_;
    bool boxOpen_ = false;
};
