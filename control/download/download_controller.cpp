#include "control/download/download_controller.h"

#include "base/local_file.h"
#include "control/download/controller_messages.h"
#include "control/download/progress_texts.h"
#include "control/resource.h"
#include "files/path_rules.h"

#include <shellapi.h>

namespace {

constexpr UINT_PTR kTimerId = 0;
constexpr UINT kTimerPeriod = 1000;

constexpr char kFirstDuration[] = "00:00:00";
constexpr char kDownloading[] = "다운로드 중...";
constexpr char kDone[] = "다운로드 완료";
constexpr char kStopped[] = "다운로드 중단";
constexpr char kResumeQuestion[] = "파일이 존재합니다. 이어받으시겠습니까?";
constexpr char kNoticeCaption[] = "알림";
constexpr char kErrorCaption[] = "에러";

}  // namespace

void CDownloadController::Attach(HWND window) {
    window_ = window;
    engine_.SetNotifyWindow(window);
    if (initialized_) ShowJob();
}

void CDownloadController::Detach() {
    if (downloading_) engine_.Stop();
    engine_.SetNotifyWindow(nullptr);
    // The timer dies with the window.
    timerRunning_ = false;
    window_ = nullptr;
}

bool CDownloadController::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_TIMER:
        OnTimer();
        return true;
    // The engine's notices belong to the transfer the start command runs; anything else
    // (none before Init, none of an earlier job) changes nothing.
    case WM_DOWNLOAD_BEGIN:
        if (downloading_) panel_.SetText(IDC_DOWN_STATUS, kDownloading);
        return true;
    case WM_DOWNLOAD_PROGRESS:
        if (downloading_) OnProgress();
        return true;
    case WM_DOWNLOAD_DONE:
        if (downloading_) OnDone();
        return true;
    case WM_DOWNLOAD_STOPPED:
        if (downloading_) OnStopped();
        return true;
    case WM_INSTALLER_CLOSE:
        owner_.FireOnClose();
        return true;
    case WM_INSTALLER_ERROR:
        ShowQueuedFailures();
        return true;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (HIWORD(wParam) != BN_CLICKED || id < IDC_BTN_RUN || id > IDC_BTN_FOLDER) return false;
        OnCommand(id);
        return true;
    }
    default:
        return false;
    }
}

void CDownloadController::BeginJob(const kv::NewJob& job) {
    ++job_;
    initialized_ = true;
    const std::string folder = job.downloadFolder.empty() ? target_.downloadFolder : job.downloadFolder;
    target_ = kv::TransferTarget{};
    target_.url = job.url;
    target_.fileName = job.fileName;
    target_.downloadFolder = folder;
    target_.targetPath = JoinPath(folder, job.fileName);
    target_.fileSize = job.remoteSize.failure ? 0 : job.remoteSize.size;
    target_.sizeKnown = !job.remoteSize.failure;
    counters_ = kv::JobCounters{};
    closePending_ = false;
    startPress_.reset();
    unshownSizeFailure_ = job.remoteSize.failure;
    // The process's current folder follows the download folder: the folder dialog opens there.
    ::SetCurrentDirectoryA(folder.c_str());
    if (window_) ShowJob();
}

void CDownloadController::ShowJob() {
    panel_.SetText(IDC_FILE_NAME, target_.fileName);
    panel_.SetText(IDC_ELAPSED_TIME, kFirstDuration);
    panel_.SetText(IDC_ODD_TIME, kFirstDuration);
    panel_.SetText(IDC_DOWN_SIZE, KilobyteText(0));
    panel_.SetText(IDC_PERCENT, PercentText(0));
    panel_.SetText(IDC_DOWN_STATUS, "");
    panel_.SetText(IDC_DOWN_SPEED, SpeedText(0));
    panel_.SetText(IDC_DOWN_FOLDER, target_.targetPath);
    panel_.SetText(IDC_FILE_SIZE, KilobyteText(target_.fileSize));
    panel_.SetBarRange(0, 100);
    panel_.SetBarPosition(0);
    // A new job starts idle, whatever the last one ended with; run follows the new file.
    ShowIdleButtons(false);
    panel_.Enable(IDC_BTN_FOLDER, true);
    RefreshLocalState();
    if (unshownSizeFailure_) {
        ShowFailureLater(*unshownSizeFailure_);
        unshownSizeFailure_.reset();
    }
}

void CDownloadController::OnCommand(int id) {
    switch (id) {
    case IDC_BTN_RUN: Run(); break;
    case IDC_BTN_START: Start(); break;
    case IDC_BTN_STOP: StopTransfer(); break;
    case IDC_BTN_CLOSE: Close(); break;
    case IDC_BTN_FOLDER: ChooseFolder(); break;
    default: break;
    }
}

void CDownloadController::Start() {
    // After stop, start shows again before the stopped transfer has returned; a second
    // transfer would nest inside the first one's message pump. Before Init there is nothing
    // to download, and while Init prepares a job the target is not settled.
    if (downloading_ || !initialized_ || preparing_) return;
    const kv::InputMoment press = clock_.CurrentInput();
    const std::string path = target_.targetPath;
    const std::optional<int64_t> onDisk = kv::FileSizeOf(path);
    if (onDisk && *onDisk != 0 &&
        owner_.ShowMessageBox(kResumeQuestion, kNoticeCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    panel_.Enable(IDC_BTN_FOLDER, false);
    panel_.Show(IDC_BTN_START, false);
    panel_.Show(IDC_BTN_STOP, true);
    downloading_ = true;
    startPress_ = press;
    counters_.startTick = clock_.Now();
    StartTimer();

    // Handlers run inside the transfer; the page may release the control meanwhile.
    const kv::ComPtr<IUnknown> keepAlive = owner_.KeepAlive();
    const std::optional<kv::Failure> failure =
        engine_.Transfer(target_.url, path, target_.sizeKnown ? target_.fileSize : 0);
    if (!failure) {
        // The end notice does the rest; without a window none comes, and the transfer is
        // over all the same, so that Init is not refused for good.
        if (!window_) {
            downloading_ = false;
            timerRunning_ = false;
        }
        return;
    }

    downloading_ = false;
    StopTimer();
    counters_.elapsedSeconds = 0;
    if (!window_) {
        // The window went away during the transfer: the script still learns why.
        owner_.ReportError(failure->code, failure->text);
        return;
    }
    ShowIdleButtons(false);
    panel_.Enable(IDC_BTN_FOLDER, true);
    ShowFailure(*failure);
    if (closePending_) {
        closePending_ = false;
        PostToWindow(WM_INSTALLER_CLOSE);
    }
}

void CDownloadController::StopTransfer() {
    // Start and stop may share a place: the second press of a double-click on start lands
    // on stop, shown by then, and belongs to the start.
    if (startPress_ && kv::IsSameGesture(*startPress_, clock_.CurrentInput(), clock_.DoubleClickTime(),
                                         clock_.DoubleClickArea())) {
        return;
    }
    engine_.Stop();
    panel_.Show(IDC_BTN_START, true);
    panel_.Show(IDC_BTN_STOP, false);
    panel_.Enable(IDC_BTN_FOLDER, true);
}

void CDownloadController::Close() {
    if (downloading_) {
        closePending_ = true;
        engine_.Stop();
    } else {
        PostToWindow(WM_INSTALLER_CLOSE);
    }
}

void CDownloadController::Run() {
    if (!initialized_ || preparing_) return;
    ::ShellExecuteA(window_, "open", target_.targetPath.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CDownloadController::ChooseFolder() {
    // The folder button shows again at stop, before the stopped transfer has returned; the
    // target must not move under a transfer that is still writing it, nor under a job that
    // Init is still preparing.
    if (downloading_ || !initialized_ || preparing_) return;
    const std::optional<std::string> folder = owner_.ChooseFolder();
    if (!folder) return;
    SetDownloadFolder(*folder);
    RefreshLocalState();
}

void CDownloadController::SetDownloadFolder(const std::string& folder) {
    target_.downloadFolder = folder;
    ::SetCurrentDirectoryA(folder.c_str());
    target_.targetPath = JoinPath(folder, target_.fileName);
    panel_.SetText(IDC_DOWN_FOLDER, target_.targetPath);
}

void CDownloadController::RefreshLocalState() {
    const std::optional<int64_t> onDisk = kv::FileSizeOf(target_.targetPath);
    if (!onDisk) {
        panel_.SetText(IDC_DOWN_SIZE, KilobyteText(0));
        panel_.SetText(IDC_PERCENT, PercentText(0));
        panel_.SetText(IDC_DOWN_SPEED, SpeedText(0));
        panel_.SetBarPosition(0);
        return;
    }
    const int32_t percent = target_.sizeKnown ? FilePercent(*onDisk, target_.fileSize) : 0;
    panel_.SetBarPosition(percent);
    panel_.SetText(IDC_PERCENT, PercentText(percent));
    panel_.SetText(IDC_DOWN_SIZE, KilobyteText(*onDisk));
    panel_.SetText(IDC_DOWN_SPEED, SpeedText(0));
    // Against an unknown size no file counts as complete.
    panel_.Enable(IDC_BTN_RUN, target_.sizeKnown && *onDisk >= target_.fileSize);
}

void CDownloadController::UpdateProgress(double done, double total) {
    if (done == 0 && total == 0) {
        panel_.SetBarRange(0, 100);
        panel_.SetBarPosition(0);
        panel_.SetText(IDC_PERCENT, PercentText(0));
        return;
    }
    const int32_t percent = TruncatedPercent(done, total);
    panel_.SetText(IDC_PERCENT, PercentText(percent));
    panel_.SetBarPosition(percent);
}

void CDownloadController::OnProgress() {
    const DownloadProgress progress = engine_.Progress();
    counters_.transferBytes += progress.lastChunk;
    if (!CountProgressNotification(counters_.refreshCounter, progress.received, target_.fileSize)) return;
    const TransferFigures figures = ComputeTransferFigures(progress.received, target_.fileSize,
                                                           counters_.transferBytes,
                                                           clock_.Now() - counters_.startTick);
    panel_.SetText(IDC_DOWN_SIZE, figures.received);
    panel_.SetText(IDC_DOWN_SPEED, figures.speed);
    panel_.SetText(IDC_ODD_TIME, figures.remaining);
    UpdateProgress(static_cast<double>(progress.received), static_cast<double>(target_.fileSize));
}

void CDownloadController::OnDone() {
    downloading_ = false;
    StopTimer();
    counters_.elapsedSeconds = 0;
    ShowIdleButtons(true);
    // The whole file is on disk: what was received, all of it. A file that shrank on the
    // server since its size was asked is as large as what came.
    const int64_t received = engine_.Progress().received;
    if (received < target_.fileSize || !target_.sizeKnown) {
        target_.fileSize = received;
        target_.sizeKnown = true;
        panel_.SetText(IDC_FILE_SIZE, KilobyteText(received));
    }
    panel_.SetText(IDC_DOWN_SIZE, KilobyteText(received));
    panel_.SetText(IDC_PERCENT, PercentText(100));
    panel_.SetBarPosition(100);
    panel_.SetText(IDC_DOWN_STATUS, kDone);
    // Close was pressed while the last bytes were arriving: the transfer ended on its own,
    // and the close still happens.
    if (closePending_) {
        closePending_ = false;
        PostToWindow(WM_INSTALLER_CLOSE);
    }
}

void CDownloadController::OnStopped() {
    downloading_ = false;
    counters_.transferBytes = 0;
    ShowIdleButtons(false);
    StopTimer();
    panel_.SetText(IDC_DOWN_STATUS, kStopped);
    // One close per request: a later stop does not close the control again.
    if (closePending_) {
        closePending_ = false;
        PostToWindow(WM_INSTALLER_CLOSE);
    }
}

void CDownloadController::OnTimer() {
    ++counters_.elapsedSeconds;
    panel_.SetText(IDC_ELAPSED_TIME, FormatDuration(counters_.elapsedSeconds));
}

void CDownloadController::ShowFailureLater(const kv::Failure& failure) {
    unshown_.push_back({failure, job_});
    PostToWindow(WM_INSTALLER_ERROR);
}

void CDownloadController::ShowFailure(const kv::Failure& failure) {
    unshown_.push_back({failure, job_});
    ShowQueuedFailures();
}

void CDownloadController::ShowQueuedFailures() {
    // A box already open pumps messages; the failures that arrive meanwhile wait for it.
    if (boxOpen_) return;
    while (!unshown_.empty()) {
        const QueuedFailure next = unshown_.front();
        unshown_.pop_front();
        owner_.ReportError(next.failure.code, next.failure.text);
        const std::string text = kv::DescribeFailure(next.failure);
        // The status line shows only what belongs to the job on screen.
        if (next.job == job_) panel_.SetText(IDC_DOWN_STATUS, text);
        boxOpen_ = true;
        owner_.ShowMessageBox(text, kErrorCaption, MB_OK | MB_ICONERROR);
        boxOpen_ = false;
    }
}

void CDownloadController::ShowIdleButtons(bool runEnabled) {
    panel_.Enable(IDC_BTN_RUN, runEnabled);
    panel_.Show(IDC_BTN_START, true);
    panel_.Show(IDC_BTN_STOP, false);
}

void CDownloadController::StartTimer() {
    if (window_ && ::SetTimer(window_, kTimerId, kTimerPeriod, nullptr)) timerRunning_ = true;
}

void CDownloadController::StopTimer() {
    if (window_) ::KillTimer(window_, kTimerId);
    timerRunning_ = false;
}

void CDownloadController::PostToWindow(UINT message) {
    if (window_) ::PostMessageA(window_, message, 0, 0);
}
