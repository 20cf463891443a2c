#include "control/download/downloader_engine.h"

#include "net/http_downloader.h"

namespace kv {
namespace {

constexpr int kReceiveBufferSize = 102400;
constexpr char kBusyText[] = "다른 다운로드가 진행 중입니다.";

}  // namespace

CDownloaderEngine::CDownloaderEngine() = default;
CDownloaderEngine::~CDownloaderEngine() = default;

void CDownloaderEngine::SetNotifyWindow(HWND window) {
    window_ = window;
    if (running_) running_->SetNotifyWindow(window);
}

std::optional<Failure> CDownloaderEngine::Transfer(const std::string& url, const std::string& localPath,
                                                   int64_t knownSize) {
    // A transfer inside another's message pump would share nothing with it, but the caller's
    // state would: it is refused.
    if (running_) return Failure{FailureKind::Control, HRESULT_FROM_WIN32(ERROR_BUSY), kBusyText};
    auto downloader = std::make_unique<CHttpDownloaderEx>();
    if (!downloader->Initialize(window_, kReceiveBufferSize)) return TakeEngineFailure();
    downloader->SetKnownSize(knownSize);
    running_ = downloader.get();
    struct Ended {
        CHttpDownloaderEx*& running;
        ~Ended() { running = nullptr; }
    } ended{running_};
    const bool ok = downloader->Download(url, localPath);
    last_ = std::move(downloader);
    if (ok) return std::nullopt;
    return TakeEngineFailure();
}

void CDownloaderEngine::Stop() {
    if (running_) running_->Stop();
}

DownloadProgress CDownloaderEngine::Progress() const {
    if (running_) return running_->Progress();
    return last_ ? last_->Progress() : DownloadProgress{};
}

}  // namespace kv
