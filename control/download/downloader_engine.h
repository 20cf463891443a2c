// The transfer engine of the control: every transfer runs on a downloader of its own, so that
// nothing one transfer leaves in a downloader (a stop request, a size, an open file) reaches
// the next. The last one is kept for the progress notices still queued for it.
#pragma once

#include "control/download/transfer_engine.h"

#include <memory>

class CHttpDownloaderEx;

namespace kv {

class CDownloaderEngine final : public TransferEngine {
public:
    CDownloaderEngine();
    ~CDownloaderEngine();
    CDownloaderEngine(const CDownloaderEngine&) = delete;
    CDownloaderEngine& operator=(const CDownloaderEngine&) = delete;

    void SetNotifyWindow(HWND window) override;
    std::optional<Failure> Transfer(const std::string& url, const std::string& localPath,
                                    int64_t knownSize) override;
    void Stop() override;
    DownloadProgress Progress() const override;

private:
    HWND window_ = nullptr;
    CHttpDownloaderEx* running_ = nullptr;
    std::unique_ptr<CHttpDownloaderEx> last_;
};

}  // namespace kv
