// CHttpDownloaderEx: the remote file's size, and a resumable download into a local file
// that pumps the thread's messages between receives and posts its notifications.
#pragma once

#include "base/socket_library_scope.h"
#include "base/unique_resource.h"
#include "net/connection.h"
#include "net/download_messages.h"
#include "net/pass_pause.h"
#include "net/tls_connection.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CHttpDownloaderEx {
public:
    // How long a server may stay silent, while the engine waits for its answer or the
    // next piece of a body, before the exchange fails with WSAETIMEDOUT.
    static constexpr int kDefaultSilenceLimit = 30000;  // milliseconds

    CHttpDownloaderEx() = default;
    virtual ~CHttpDownloaderEx();
    CHttpDownloaderEx(const CHttpDownloaderEx&) = delete;
    CHttpDownloaderEx& operator=(const CHttpDownloaderEx&) = delete;

    bool Initialize(HWND notifyWindow, int bufferSize);
    bool QueryFileSize(const std::string& url, int64_t& size);
    bool Download(const std::string& url, const std::string& localPath);
    void Stop();
    // Drains the thread's queue, then sleeps 10 ms. False when it took a WM_QUIT: that is
    // posted again for the thread's own loop, and the caller ends what it is doing.
    bool PumpMessages();
    bool LocalFileExists(const std::string& path);
    int64_t LocalFileSize(const std::string& path);

    // The record WM_DOWNLOAD_PROGRESS points to, read where it lives rather than through a
    // message parameter that anyone could post.
    const DownloadProgress& Progress() const { return progress; }
    // Rebinds the notifications (null: post none) without touching the receive buffer, so
    // that a transfer under way survives its window.
    void SetNotifyWindow(HWND window) { notifyWindow = window; }
    bool IsInitialized() const { return buffer != nullptr; }
    // The remote size learnt elsewhere, against which the next Download judges a local file
    // complete (0: unknown, the file is resumed and the server's answer decides).
    void SetKnownSize(int64_t size) { totalSize = size; }

    // The HTTP exchange. ParseUrl resolves the host; false after a failure report.
    bool ParseUrl(std::string url, std::string& hostName, std::string& hostAddress,
                  uint16_t& port, std::string& path);
    // The Location of a 301 answer to a plain GET of url, resolved against url, else
    // empty; reports nothing.
    std::string ResolveRedirect(const std::string& url);
    // Also sets the last error when the block has no HTTP/1.1 status line.
    int GetStatusCode(const char* block, int count);
    static bool IsErrorStatus(int status);
    // Also sets the last error when the block has no length.
    int64_t GetContentLength(const char* block, int count);
    std::string GetLocation(const char* block, int count);

    // Where connections come from (TCP unless set), and the silence borne from a server.
    void SetConnector(kv::Connector connector);
    void SetSilenceLimit(int milliseconds);

private:
    struct Transfer;
    struct Target;

    // Failure reports: last error, local file closed, connection closed. Each returns
    // false for the caller to return.
    bool FailWithText(int32_t code, const std::string& text, kv::Connection* connection);
    bool FailWithStatus(int status, kv::Connection* connection);
    bool FailWithSystemError(bool fromSockets, kv::Connection* connection);

    bool StartSocketLibrary();
    bool ParseTarget(const std::string& url, Target& target);
    // TCP, with TLS over it for a secure URL; null with failure's code and text set.
    kv::ConnectionPtr OpenConnection(const Target& target, kv::TlsFailure& failure);
    std::string ProbeRedirect(const std::string& url, bool& silent);
    bool FollowRedirect(std::string& url);
    bool ReceiveResponse(Transfer& transfer, kv::Connection& connection);
    bool BeginBody(Transfer& transfer, kv::Connection& connection, size_t headerEnd);
    bool EndOfResponse(Transfer& transfer, kv::Connection& connection);
    bool WriteBody(Transfer& transfer, kv::Connection& connection, char* data, uint32_t count);
    void Notify(UINT message, WPARAM wParam = 0);
    // Hands the notices held during a transfer to their window, in order, as the queue
    // would have: by a direct call (DeliverHeldNotices) or, at the transfer's end, by posts.
    void DeliverHeldNotices();
    void PostHeldNotices();

    HWND notifyWindow = nullptr;
    // While the receive loop runs, a notice for a window of this thread is not posted but
    // held, and handed over at the start of the next drain, where the posted notice would
    // have been taken from the queue: the same handler at the same point of the pass,
    // without the trips to the window system's server that a post and its retrieval cost
    // (two of the five a pass made under Wine). Whatever is held when the loop ends is
    // posted, so the last notices still arrive after Download returns.
    struct HeldNotice {
        HWND window;
        UINT message;
        WPARAM wParam;
    };
    bool holdNotices = false;
    std::vector<HeldNotice> heldNotices;
    kv::unique_hfile file;
    std::unique_ptr<char[]> buffer;
    int32_t bufferSize = 102400;
    std::string url;
    std::string localPath;
    DownloadProgress progress;
    bool resuming = false;
    int64_t existingSize = 0;
    int64_t totalSize = 0;
    bool stopRequested = false;
    // The engine's own start-up of the socket library, from the first operation that
    // needs it to the downloader's end; failures leave it alone.
    std::optional<kv::SocketLibraryScope> sockets;
    kv::Connector connector;
    int silenceLimit = kDefaultSilenceLimit;
    // The passes' pause, which shares what it learns of the timers with every pause of the
    // thread.
    kv::PassPause pause;
};
