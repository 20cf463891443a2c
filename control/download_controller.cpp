#include "control/download_controller.h"

#include "control/error_report.h"
#include "control/installer_messages.h"
#include "control/progress_texts.h"
#include "control/resource.h"
#include "files/local_files.h"
#include "net/http_downloader.h"
#include "net/last_error.h"

#include <shellapi.h>

namespace {

constexpr UINT_PTR kTimerId = 0;
constexpr UINT kTimerPeriod = 1000;

constexpr char kDownloading[] = "다운로드 중...";
constexpr char kDone[] = "다운로드 완료";
constexpr char kStopped[] = "다운로드 중단";
constexpr char kResumeQuestion[] = "파일이 존재합니다. 이어받으시겠습니까?";
constexpr char kNoticeCaption[] = "알림";
constexpr char kErrorCaption[] = "에러";

// Progress notifications since the last refresh of the figures, shared by every control
// of the process and carried over from one transfer to the next.
uint32_t refreshCounter = 0;

}  // namespace

void CDownloadController::Attach(HWND window) { window_ = window; }

void CDownloadController::Detach() {
    if (downloading_) downloader_.Stop();
    // The timer dies with the window.
    timerRunning_ = false;
    window_ = nullptr;
}

bool CDownloadController::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_TIMER:
        OnTimer();
        return true;
    case WM_DOWNLOAD_BEGIN:
        if (initialized_) panel_.SetText(IDC_DOWN_STATUS, kDownloading);
        return true;
    case WM_DOWNLOAD_PROGRESS:
        if (initialized_) OnProgress();
        return true;
    case WM_DOWNLOAD_DONE:
        if (initialized_) OnDone();
        return true;
    case WM_DOWNLOAD_STOPPED:
        if (initialized_) OnStopped();
        return true;
    case WM_INSTALLER_CLOSE:
        owner_.FireOnClose();
        return true;
    case WM_INSTALLER_ERROR:
        ShowLastError();
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
    // Download on the same downloader would nest inside the first one's message pump.
    // Before Init there is nothing to download.
    if (downloading_ || !initialized_) return;
    const std::string& path = target_.targetPath;
    if (downloader_.LocalFileExists(path) && downloader_.LocalFileSize(path) != 0 &&
        owner_.ShowMessageBox(kResumeQuestion, kNoticeCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    panel_.Enable(IDC_BTN_FOLDER, false);
    panel_.Show(IDC_BTN_START, false);
    panel_.Show(IDC_BTN_STOP, true);
    downloading_ = true;
    startTick_ = ::GetTickCount();
    StartTimer();

    // Handlers run inside the transfer; the page may release the control meanwhile.
    const kv::ComPtr<IUnknown> keepAlive = owner_.KeepAlive();
    const std::string url = target_.url;
    if (downloader_.Download(url, path)) return;  // the end notification does the rest

    owner_.ReportError(lastErrorCode, lastErrorText);
    downloading_ = false;
    StopTimer();
    elapsedSeconds_ = 0;
    if (!window_) return;  // the window went away during the transfer
    ShowIdleButtons(false);
    panel_.Enable(IDC_BTN_FOLDER, true);
    const std::string text = FormatErrorDescription(lastErrorCode, lastErrorText);
    panel_.SetText(IDC_DOWN_STATUS, text);
    owner_.ShowMessageBox(text, kErrorCaption, MB_OK | MB_ICONERROR);
    if (closePending_) {
        closePending_ = false;
        PostToWindow(WM_INSTALLER_CLOSE);
    }
}

void CDownloadController::StopTransfer() {
    downloader_.Stop();
    panel_.Show(IDC_BTN_START, true);
    panel_.Show(IDC_BTN_STOP, false);
    panel_.Enable(IDC_BTN_FOLDER, true);
}

void CDownloadController::Close() {
    if (downloading_) {
        closePending_ = true;
        downloader_.Stop();
    } else {
        PostToWindow(WM_INSTALLER_CLOSE);
    }
}

void CDownloadController::Run() {
    if (!initialized_) return;
    ::ShellExecuteA(window_, "open", target_.targetPath.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CDownloadController::ChooseFolder() {
    // The folder button shows again at stop, before the stopped transfer has returned; the
    // target must not move under a transfer that is still writing it.
    if (downloading_ || !initialized_) return;
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
    const std::string& path = target_.targetPath;
    if (!downloader_.LocalFileExists(path)) {
        panel_.SetText(IDC_DOWN_SIZE, KilobyteText(0));
        panel_.SetText(IDC_PERCENT, PercentText(0));
        panel_.SetText(IDC_DOWN_SPEED, SpeedText(0));
        panel_.SetBarPosition(0);
        return;
    }
    const int64_t onDisk = downloader_.LocalFileSize(path);
    const int32_t percent =
        TruncatedPercent(static_cast<double>(onDisk), static_cast<double>(target_.fileSize));
    panel_.SetBarPosition(percent);
    panel_.SetText(IDC_PERCENT, PercentText(percent));
    panel_.SetText(IDC_DOWN_SIZE, KilobyteText(onDisk));
    panel_.SetText(IDC_DOWN_SPEED, SpeedText(0));
    panel_.Enable(IDC_BTN_RUN, onDisk >= target_.fileSize);
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
    const DownloadProgress progress = downloader_.Progress();
    transferBytes_ += progress.lastChunk;
    if (!CountProgressNotification(refreshCounter, progress.received, target_.fileSize)) return;
    const TransferFigures figures = ComputeTransferFigures(
        progress.received, target_.fileSize, transferBytes_, ::GetTickCount() - startTick_);
    panel_.SetText(IDC_DOWN_SIZE, figures.received);
    panel_.SetText(IDC_DOWN_SPEED, figures.speed);
    panel_.SetText(IDC_ODD_TIME, figures.remaining);
    UpdateProgress(static_cast<double>(progress.received), static_cast<double>(target_.fileSize));
}

void CDownloadController::OnDone() {
    downloading_ = false;
    StopTimer();
    elapsedSeconds_ = 0;
    ShowIdleButtons(true);
    UpdateProgress(static_cast<double>(target_.fileSize), static_cast<double>(target_.fileSize));
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
    transferBytes_ = 0;
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
    ++elapsedSeconds_;
    panel_.SetText(IDC_ELAPSED_TIME, FormatDuration(elapsedSeconds_));
}

void CDownloadController::ShowLastError() {
    owner_.ReportError(lastErrorCode, lastErrorText);
    const std::string text = FormatErrorDescription(lastErrorCode, lastErrorText);
    panel_.SetText(IDC_DOWN_STATUS, text);
    owner_.ShowMessageBox(text, kErrorCaption, MB_OK | MB_ICONERROR);
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
