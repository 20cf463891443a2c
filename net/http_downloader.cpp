// CHttpDownloaderEx: start-up, the size query, the resumable download with its receive
// loop and notifications, the exchange members over the protocol functions, and the
// failure reports.
#include "net/http_downloader.h"

#include "base/local_file.h"
#include "base/timeline.h"
#include "net/download_answer.h"
#include "net/engine_texts.h"
#include "net/header_receiver.h"
#include "net/host_resolver.h"
#include "net/http_request.h"
#include "net/http_response.h"
#include "net/http_status_text.h"
#include "net/last_error.h"
#include "net/location_resolve.h"
#include "net/marked_connection.h"
#include "net/response_body.h"
#include "net/system_message.h"
#include "net/tcp_client_socket.h"
#include "net/url_split.h"

#include <string_view>
#include <utility>

// Loop state of one Download.
struct CHttpDownloaderEx::Transfer {
    std::string url;         // the URL in use, after any redirect
    int64_t received = 0;    // bytes of the file on disk
    bool headerDone = false;
    size_t headerHave = 0;   // header bytes gathered at the front of the buffer so far
    kv::ResponseBody body;
};

// Where one exchange goes: the URL's parts with the host resolved.
struct CHttpDownloaderEx::Target {
    std::string hostName;
    std::string hostAddress;
    uint16_t port = 80;
    std::string path;
    bool secure = false;
};

namespace {

constexpr int kHeaderBlockSize = 2048;
// The receive loop waits this long for bytes between two drains of the queue, so stop
// and close act within about this time while a server is silent.
constexpr int kWaitSlice = 50;  // milliseconds
// Each pass of the receive loop pauses this long after draining the queue.
constexpr int kPassPause = 10;  // milliseconds

bool MoveFilePointer(HANDLE file, DWORD method) {
    LARGE_INTEGER zero{};
    return ::SetFilePointerEx(file, zero, nullptr, method) != FALSE;
}

std::string_view BlockView(const char* block, int count) {
    return std::string_view(block, count > 0 ? static_cast<size_t>(count) : 0);
}

}  // namespace

CHttpDownloaderEx::~CHttpDownloaderEx() = default;

bool CHttpDownloaderEx::Initialize(HWND window, int size) {
    if (!StartSocketLibrary()) return false;
    if (size < 1) return false;
    notifyWindow = window;
    buffer = std::make_unique<char[]>(static_cast<size_t>(size));  // zero-filled
    bufferSize = size;
    return true;
}

void CHttpDownloaderEx::SetConnector(kv::Connector replacement) { connector = std::move(replacement); }

void CHttpDownloaderEx::SetSilenceLimit(int milliseconds) { silenceLimit = milliseconds; }

bool CHttpDownloaderEx::StartSocketLibrary() {
    if (sockets && sockets->started()) return true;
    sockets.emplace();
    if (sockets->started()) return true;
    // No file or connection is open yet, and the library is not started: set the error
    // directly rather than through a report.
    const int error = sockets->error();
    sockets.reset();
    lastErrorCode = error;
    lastErrorText = kv::SystemMessage(static_cast<DWORD>(error));
    return false;
}

kv::ConnectionPtr CHttpDownloaderEx::OpenConnection(const Target& target, kv::TlsFailure& failure) {
    const kv::Connector& open = connector ? connector : kv::Connector(kv::ConnectTcp);
    kv::ConnectionPtr tcp = kv::TimelineOn() ? kv::ConnectMarked(open, target.hostAddress, target.port)
                                             : open(target.hostAddress, target.port);
    if (!tcp) {
        const DWORD code = static_cast<DWORD>(::WSAGetLastError());
        failure.code = static_cast<int32_t>(code);
        failure.text = kv::SystemMessage(code);
        return nullptr;
    }
    if (!target.secure) return tcp;
    return kv::StartTls(std::move(tcp), target.hostName, silenceLimit, failure);
}

bool CHttpDownloaderEx::QueryFileSize(const std::string& requestedUrl, int64_t& size) {
    url = requestedUrl;
    if (!StartSocketLibrary()) return false;
    std::string target = requestedUrl;
    if (!FollowRedirect(target)) return false;

    Target where;
    if (!ParseTarget(target, where)) return false;
    kv::TlsFailure failure;
    const kv::ConnectionPtr connection = OpenConnection(where, failure);
    if (!connection) return FailWithText(failure.code, failure.text, nullptr);
    connection->ExpectHeaderOnly();
    const std::string request = kv::PlainRequest(where.path, where.hostName);
    if (!connection->Send(request.data(), static_cast<int>(request.size()), 0))
        return FailWithSystemError(true, connection.get());

    char block[kHeaderBlockSize] = {};
    const int count =
        kv::ReceiveHeaderBlock(*connection, block, kHeaderBlockSize - 1, silenceLimit);
    if (count == kv::kNothingArrived)
        return FailWithText(WSAETIMEDOUT, kv::kSilentServerText, connection.get());
    if (count < 0) return FailWithSystemError(true, connection.get());

    const int status = GetStatusCode(block, count);
    if (status < 0) {
        if (status == -2) {
            lastErrorCode = 404;
            lastErrorText = kv::MissingFileText(target);
        }
        connection->Close();
        return false;
    }
    // The length of a redirect's or an error's page is not the file's.
    if (status < 200 || status > 299) return FailWithStatus(status, connection.get());

    int64_t length = -1;
    if (kv::HasTransferCoding(BlockView(block, count))) {
        // A chunked answer names no length, whatever else its header says.
        lastErrorCode = -1;
        lastErrorText = kv::LengthFailureText(BlockView(block, count));
    } else {
        length = GetContentLength(block, count);
    }
    totalSize = length < 0 ? 0 : length;
    size = totalSize;
    connection->Close();
    return length >= 0;
}

bool CHttpDownloaderEx::Download(const std::string& requestedUrl, const std::string& path) {
    // A stop that came after the last transfer had ended (its end notice still queued, the
    // stop button still shown) belonged to that transfer, not to this one.
    stopRequested = false;
    url = requestedUrl;
    localPath = path;
    resuming = LocalFileExists(localPath);
    existingSize = resuming ? LocalFileSize(localPath) : 0;
    // Without a known remote size (0) the local file cannot be judged complete; it is
    // resumed instead, and the server's answer to the Range line decides.
    if (resuming && totalSize > 0 && existingSize >= totalSize) {
        progress.lastChunk = static_cast<uint32_t>(existingSize);
        progress.received = existingSize;
        Notify(WM_DOWNLOAD_PROGRESS, reinterpret_cast<WPARAM>(&progress));
        Notify(WM_DOWNLOAD_DONE);
        return true;
    }

    // Without a receive buffer (Initialize failed or never ran) nothing can be received.
    if (!buffer) return FailWithText(WSANOTINITIALISED, kv::SystemMessage(WSANOTINITIALISED), nullptr);
    if (!StartSocketLibrary()) return false;

    Transfer transfer;
    transfer.url = requestedUrl;
    if (!FollowRedirect(transfer.url)) return false;
    Target where;
    if (!ParseTarget(transfer.url, where)) return false;

    kv::TlsFailure failure;
    const kv::ConnectionPtr connection = OpenConnection(where, failure);
    if (!connection) return FailWithText(failure.code, failure.text, nullptr);
    const std::string request = kv::RangedRequest(where.path, where.hostName, existingSize);
    if (!connection->Send(request.data(), static_cast<int>(request.size()), 0))
        return FailWithSystemError(true, connection.get());
    Notify(WM_DOWNLOAD_BEGIN);

    file.reset(::CreateFileA(localPath.c_str(), GENERIC_WRITE, 0, nullptr,
                             resuming ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return FailWithSystemError(false, connection.get());
    return ReceiveResponse(transfer, *connection);
}

bool CHttpDownloaderEx::ReceiveResponse(Transfer& transfer, kv::Connection& connection) {
    const kv::FineTimerScope fineTimer;
    struct NoticeHold {
        CHttpDownloaderEx& downloader;
        explicit NoticeHold(CHttpDownloaderEx& d) : downloader(d) { downloader.holdNotices = true; }
        ~NoticeHold() { downloader.PostHeldNotices(); }
    } hold(*this);
    int silentFor = 0;
    bool quit = false;
    for (;;) {
        if (!PumpMessages()) {
            quit = true;
            break;
        }
        if (stopRequested) break;
        const size_t offset = transfer.headerDone ? 0 : transfer.headerHave;
        char* const block = buffer.get() + offset;
        const int count =
            connection.ReceiveWithin(block, bufferSize - 1 - static_cast<int>(offset), kWaitSlice);
        if (count == kv::kNothingArrived) {
            // Silence is counted in waits, not on a clock, so it never includes the time
            // the queue's handlers take.
            silentFor += kWaitSlice;
            if (silentFor >= silenceLimit)
                return FailWithText(WSAETIMEDOUT, kv::kSilentServerText, &connection);
            continue;
        }
        silentFor = 0;
        if (count < 0) return FailWithSystemError(true, &connection);
        if (count == 0) {
            if (!EndOfResponse(transfer, connection)) return false;
            break;
        }
        block[count] = '\0';
        if (transfer.headerDone) {
            if (!WriteBody(transfer, connection, block, static_cast<uint32_t>(count))) return false;
        } else {
            transfer.headerHave += static_cast<size_t>(count);
            const size_t headerEnd =
                kv::HeaderEndOf(std::string_view(buffer.get(), transfer.headerHave));
            // A header split over several receives is gathered until its empty line.
            const bool full = transfer.headerHave >= static_cast<size_t>(bufferSize - 1);
            if (headerEnd == std::string_view::npos && !full) continue;
            if (!BeginBody(transfer, connection, headerEnd)) return false;
        }
        if (transfer.body.Malformed())
            return FailWithText(-1, kv::kMalformedChunksText, &connection);
        if (transfer.body.Complete()) break;
    }

    file.reset();
    connection.Close();
    // A WM_QUIT ends the transfer as a stop does: the partial file stays for resuming.
    if (stopRequested || quit) {
        stopRequested = false;
        Notify(WM_DOWNLOAD_STOPPED);
    } else {
        Notify(WM_DOWNLOAD_DONE);
    }
    return true;
}

bool CHttpDownloaderEx::BeginBody(Transfer& transfer, kv::Connection& connection, size_t headerEnd) {
    char* const block = buffer.get();
    const int count = static_cast<int>(transfer.headerHave);
    const int status = GetStatusCode(block, count);
    if (IsErrorStatus(status)) {
        if (status < 0) {
            file.reset();
            connection.Close();
            return false;
        }
        return FailWithStatus(status, &connection);
    }
    if (headerEnd == std::string_view::npos) {
        // The whole buffer holds no end of header: nothing of it can be trusted as body.
        return FailWithText(-1, kv::StatusLineFailureText(BlockView(block, count)), &connection);
    }

    const std::string_view header(block, headerEnd);
    const kv::DownloadAnswer answer = kv::JudgeDownloadAnswer(status, header, existingSize);
    switch (answer.use) {
    case kv::AnswerUse::WrongStatus:
        return FailWithStatus(status, &connection);
    case kv::AnswerUse::WrongRange:
        return FailWithText(-1, kv::RangeMismatchText(header), &connection);
    case kv::AnswerUse::UnknownCoding:
        return FailWithText(-1, kv::TransferCodingText(header), &connection);
    case kv::AnswerUse::StartOver:
        // The server ignored the Range line and sends the whole file: appending it would
        // corrupt the file, so it starts over from its first byte.
        if (!MoveFilePointer(file.get(), FILE_BEGIN) || !::SetEndOfFile(file.get()))
            return FailWithSystemError(false, &connection);
        transfer.received = 0;
        break;
    case kv::AnswerUse::Append:
        if (resuming && !MoveFilePointer(file.get(), FILE_END))
            return FailWithSystemError(false, &connection);
        transfer.received = existingSize;
        break;
    }
    if (resuming) {
        progress.lastChunk = 0;
        progress.received = transfer.received;
        Notify(WM_DOWNLOAD_PROGRESS, reinterpret_cast<WPARAM>(&progress));
    }
    transfer.body = answer.body;
    transfer.headerDone = true;
    return WriteBody(transfer, connection, block + headerEnd,
                     static_cast<uint32_t>(static_cast<size_t>(count) - headerEnd));
}

bool CHttpDownloaderEx::EndOfResponse(Transfer& transfer, kv::Connection& connection) {
    if (!transfer.headerDone) {
        if (transfer.headerHave == 0) {
            // Nothing at all came back, as a size query would report it.
            lastErrorCode = 404;
            lastErrorText = kv::MissingFileText(transfer.url);
            file.reset();
            connection.Close();
            return false;
        }
        // A header cut short: its status line may still tell why.
        const int status = GetStatusCode(buffer.get(), static_cast<int>(transfer.headerHave));
        if (status == -1) {
            file.reset();
            connection.Close();
            return false;
        }
        if (IsErrorStatus(status)) return FailWithStatus(status, &connection);
        return FailWithText(-1, kv::kTruncatedBodyText, &connection);
    }
    if (!transfer.body.WholeAtClose()) return FailWithText(-1, kv::kTruncatedBodyText, &connection);
    return true;
}

// Writes the file's bytes of one received piece: the framing decides which they are.
bool CHttpDownloaderEx::WriteBody(Transfer& transfer, kv::Connection& connection, char* data,
                                  uint32_t count) {
    const auto bytes = static_cast<uint32_t>(transfer.body.Take(data, count));
    if (bytes > 0) {
        DWORD written = 0;
        if (!::WriteFile(file.get(), data, bytes, &written, nullptr))
            return FailWithSystemError(false, &connection);
        if (written != bytes) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return FailWithSystemError(false, &connection);
        }
    }
    progress.lastChunk = bytes;
    transfer.received += bytes;
    progress.received = transfer.received;
    Notify(WM_DOWNLOAD_PROGRESS, reinterpret_cast<WPARAM>(&progress));
    return true;
}

void CHttpDownloaderEx::Notify(UINT message, WPARAM wParam) {
    // Without a window a post would become a thread message for whatever loop runs next.
    if (!notifyWindow) return;
    if (holdNotices && ::GetWindowThreadProcessId(notifyWindow, nullptr) == ::GetCurrentThreadId()) {
        heldNotices.push_back({notifyWindow, message, wParam});
        return;
    }
    ::PostMessageA(notifyWindow, message, wParam, 0);
}

void CHttpDownloaderEx::DeliverHeldNotices() {
    // A handler may stop the transfer or let its window go; it never adds a notice, but the
    // list is taken first all the same.
    std::vector<HeldNotice> notices;
    notices.swap(heldNotices);
    for (const HeldNotice& notice : notices) {
        // A window destroyed meanwhile would have lost its posted notices with it.
        if (::IsWindow(notice.window)) ::SendMessageA(notice.window, notice.message, notice.wParam, 0);
    }
}

void CHttpDownloaderEx::PostHeldNotices() {
    holdNotices = false;
    for (const HeldNotice& notice : heldNotices) ::PostMessageA(notice.window, notice.message, notice.wParam, 0);
    heldNotices.clear();
}

void CHttpDownloaderEx::Stop() { stopRequested = true; }

bool CHttpDownloaderEx::PumpMessages() {
    const long long start = kv::TimelineOn() ? kv::TimelineNow() : 0;
    DeliverHeldNotices();
    MSG message;
    // The pause follows at once: the yield Wine makes when the queue is empty would only
    // come before it.
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) {
        if (message.message == WM_QUIT) {
            // The thread's own loop has to see it to end.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    if (kv::TimelineOn()) {
        const long long drained = kv::TimelineNow();
        pause.Take(kPassPause);
        kv::TimelineMark("pump " + std::to_string(drained - start) + " " +
                         std::to_string(kv::TimelineNow() - drained));
        return true;
    }
    pause.Take(kPassPause);
    return true;
}

bool CHttpDownloaderEx::LocalFileExists(const std::string& path) { return kv::FileExists(path); }

int64_t CHttpDownloaderEx::LocalFileSize(const std::string& path) { return kv::FileSizeOf(path).value_or(0); }

bool CHttpDownloaderEx::ParseUrl(std::string text, std::string& hostName, std::string& hostAddress,
                                 uint16_t& port, std::string& path) {
    Target target;
    const bool parsed = ParseTarget(text, target);
    port = target.port;
    path = target.path;
    if (!parsed) return false;
    hostName = target.hostName;
    hostAddress = target.hostAddress;
    return true;
}

bool CHttpDownloaderEx::ParseTarget(const std::string& text, Target& target) {
    kv::UrlParts parts;
    const bool wellFormed = kv::SplitUrl(text, parts);
    target.port = parts.port;
    target.path = parts.path;
    target.secure = parts.secure;
    if (!wellFormed) return FailWithText(-1, kv::kMalformedUrlText, nullptr);
    target.hostName = parts.hostName;
    target.hostAddress = parts.hostAddress;
    if (!kv::ResolveHostAddress(target.hostAddress)) return FailWithSystemError(true, nullptr);
    return true;
}

std::string CHttpDownloaderEx::ResolveRedirect(const std::string& target) {
    bool silent = false;
    return ProbeRedirect(target, silent);
}

std::string CHttpDownloaderEx::ProbeRedirect(const std::string& target, bool& silent) {
    silent = false;
    Target where;
    if (!ParseTarget(target, where)) return {};
    kv::TlsFailure failure;
    const kv::ConnectionPtr connection = OpenConnection(where, failure);
    if (!connection) {
        silent = failure.code == WSAETIMEDOUT;
        return {};
    }
    connection->ExpectHeaderOnly();
    const std::string request = kv::PlainRequest(where.path, where.hostName);
    if (!connection->Send(request.data(), static_cast<int>(request.size()), 0)) return {};
    char block[kHeaderBlockSize] = {};
    const int count =
        kv::ReceiveHeaderBlock(*connection, block, kHeaderBlockSize - 1, silenceLimit);
    silent = count == kv::kNothingArrived;
    // The probe leaves the last error alone, so it reads the status without GetStatusCode's
    // failure text.
    // A Location without scheme and host (as HTTP/1.1 allows) is taken relative to the URL
    // it answered.
    if (count > 0 && kv::StatusCodeOf(BlockView(block, count)) == 301)
        return kv::ResolveLocation(target, GetLocation(block, count));
    return {};
}

// A probe that met a silent server fails the operation: the same server would keep the
// caller waiting once more.
bool CHttpDownloaderEx::FollowRedirect(std::string& target) {
    bool silent = false;
    std::string redirected = ProbeRedirect(target, silent);
    if (silent) return FailWithText(WSAETIMEDOUT, kv::kSilentServerText, nullptr);
    if (redirected.empty()) return true;
    // Never from a secure URL to one that is not.
    kv::UrlParts from, to;
    kv::SplitUrl(target, from);
    kv::SplitUrl(redirected, to);
    if (from.secure && !to.secure) return FailWithText(-1, kv::kInsecureRedirectText, nullptr);
    target = std::move(redirected);
    return true;
}

int CHttpDownloaderEx::GetStatusCode(const char* block, int count) {
    const std::string_view text = BlockView(block, count);
    const int status = kv::StatusCodeOf(text);
    if (status == -1) {
        lastErrorCode = -1;
        lastErrorText = kv::StatusLineFailureText(text);
    }
    return status;
}

bool CHttpDownloaderEx::IsErrorStatus(int status) { return status < 0 || status >= 400; }

int64_t CHttpDownloaderEx::GetContentLength(const char* block, int count) {
    const std::string_view text = BlockView(block, count);
    const int64_t length = kv::ContentLengthOf(text);
    if (length < 0) {
        lastErrorCode = -1;
        lastErrorText = kv::LengthFailureText(text);
    }
    return length;
}

std::string CHttpDownloaderEx::GetLocation(const char* block, int count) {
    return kv::LocationOf(BlockView(block, count));
}

bool CHttpDownloaderEx::FailWithText(int32_t code, const std::string& text, kv::Connection* connection) {
    lastErrorCode = code;
    lastErrorText = text;
    file.reset();
    if (connection) connection->Close();
    return false;
}

bool CHttpDownloaderEx::FailWithStatus(int status, kv::Connection* connection) {
    return FailWithText(status, kv::HttpStatusText(status), connection);
}

bool CHttpDownloaderEx::FailWithSystemError(bool fromSockets, kv::Connection* connection) {
    const DWORD code = fromSockets ? static_cast<DWORD>(::WSAGetLastError()) : ::GetLastError();
    return FailWithText(static_cast<int32_t>(code), kv::SystemMessage(code), connection);
}
