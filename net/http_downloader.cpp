// The file transfer members of CHttpDownloaderEx: start-up, the size query, the resumable
// download with its receive loop and notifications, and the local-file checks.
#include "net/http_downloader.h"

#include "net/engine_texts.h"
#include "net/header_receiver.h"
#include "net/http_request.h"
#include "net/http_response.h"
#include "net/last_error.h"
#include "net/socket_library.h"
#include "net/system_message.h"
#include "net/tcp_client_socket.h"

#include <limits>
#include <string_view>

// Loop state of one Download.
struct CHttpDownloaderEx::Transfer {
    std::string url;         // the URL in use, after any redirect
    int64_t received = 0;    // bytes of the file on disk
    int64_t expected = 0;    // resumed part plus the response's length
    bool lengthKnown = false;
    bool headerDone = false;
    size_t headerHave = 0;   // header bytes gathered at the front of the buffer so far
};

namespace {

constexpr WORD kSocketsVersion = 0x0202;
constexpr int kHeaderBlockSize = 2048;

bool MoveFilePointer(HANDLE file, DWORD method) {
    LARGE_INTEGER zero{};
    return ::SetFilePointerEx(file, zero, nullptr, method) != FALSE;
}

}  // namespace

CHttpDownloaderEx::~CHttpDownloaderEx() = default;

bool CHttpDownloaderEx::Initialize(HWND window, int size) {
    if (!StartSockets(kSocketsVersion)) {
        const DWORD code = static_cast<DWORD>(::WSAGetLastError());
        lastErrorCode = static_cast<int32_t>(code);
        lastErrorText = kv::SystemMessage(code);
        CleanupSockets();
        return false;
    }
    if (size < 1) return false;
    notifyWindow = window;
    buffer = std::make_unique<char[]>(static_cast<size_t>(size));  // zero-filled
    bufferSize = size;
    return true;
}

bool CHttpDownloaderEx::Connect(CTcpClientSocket& connection, const std::string& hostAddress,
                                uint16_t port) {
    if (!connection.Create()) return FailWithSystemError(true, nullptr);
    if (!connection.Connect(hostAddress.c_str(), port)) return FailWithSystemError(true, &connection);
    return true;
}

bool CHttpDownloaderEx::QueryFileSize(const std::string& requestedUrl, int64_t& size) {
    url = requestedUrl;
    std::string target = requestedUrl;
    if (std::string redirected = ResolveRedirect(target); !redirected.empty()) target = redirected;

    std::string hostName, hostAddress, path;
    uint16_t port = 80;
    if (!ParseUrl(target, hostName, hostAddress, port, path)) return false;

    CTcpClientSocket connection;
    const kv::ConnectionCloser closer(connection);
    if (!Connect(connection, hostAddress, port)) return false;
    const std::string request = kv::PlainRequest(path, hostName);
    if (!connection.Send(request.data(), static_cast<int>(request.size()), 0))
        return FailWithSystemError(true, &connection);

    char block[kHeaderBlockSize] = {};
    const int count = kv::ReceiveHeaderBlock(connection, block, kHeaderBlockSize - 1);
    if (count < 0) return FailWithSystemError(true, &connection);

    const int status = GetStatusCode(block, count);
    if (IsErrorStatus(status)) {
        if (status == -2) {
            lastErrorCode = 404;
            lastErrorText = kv::MissingFileText(target);
        }
        if (status < 0) {
            connection.Close();
            return false;
        }
        return FailWithStatus(status, &connection);
    }

    totalSize = GetContentLength(block, count);
    bool found = true;
    if (totalSize < 0) {
        totalSize = 0;
        found = false;
    }
    size = totalSize;
    connection.Close();
    return found;
}

bool CHttpDownloaderEx::Download(const std::string& requestedUrl, const std::string& path) {
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
    if (!buffer) {
        ::WSASetLastError(WSANOTINITIALISED);
        return FailWithSystemError(true, nullptr);
    }

    Transfer transfer;
    transfer.url = requestedUrl;
    if (std::string redirected = ResolveRedirect(transfer.url); !redirected.empty())
        transfer.url = redirected;
    std::string hostName, hostAddress, remotePath;
    uint16_t port = 80;
    if (!ParseUrl(transfer.url, hostName, hostAddress, port, remotePath)) return false;

    CTcpClientSocket connection;
    const kv::ConnectionCloser closer(connection);
    if (!Connect(connection, hostAddress, port)) return false;
    const std::string request = kv::RangedRequest(remotePath, hostName, existingSize);
    if (!connection.Send(request.data(), static_cast<int>(request.size()), 0))
        return FailWithSystemError(true, &connection);
    Notify(WM_DOWNLOAD_BEGIN);

    file.reset(::CreateFileA(localPath.c_str(), GENERIC_WRITE, 0, nullptr,
                             resuming ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return FailWithSystemError(false, &connection);

    for (;;) {
        PumpMessages();
        if (stopRequested) break;
        const size_t offset = transfer.headerDone ? 0 : transfer.headerHave;
        char* const block = buffer.get() + offset;
        const int count = connection.Receive(block, bufferSize - 1 - static_cast<int>(offset), 0);
        if (count < 0) return FailWithSystemError(true, &connection);
        if (count == 0) {
            if (!EndOfResponse(transfer, connection)) return false;
            break;
        }
        block[count] = '\0';
        if (transfer.headerDone) {
            if (!WriteBlock(transfer, connection, block, static_cast<uint32_t>(count))) return false;
        } else {
            transfer.headerHave += static_cast<size_t>(count);
            const size_t headerEnd =
                kv::HeaderEndOf(std::string_view(buffer.get(), transfer.headerHave));
            // A header split over several receives is gathered until its empty line.
            const bool full = transfer.headerHave >= static_cast<size_t>(bufferSize - 1);
            if (headerEnd == std::string_view::npos && !full) continue;
            if (!BeginBody(transfer, connection, headerEnd)) return false;
        }
        // Without a length the body ends when the server closes the connection.
        if (transfer.lengthKnown && transfer.received >= transfer.expected) break;
    }

    file.reset();
    connection.Close();
    if (stopRequested) {
        stopRequested = false;
        Notify(WM_DOWNLOAD_STOPPED);
    } else {
        Notify(WM_DOWNLOAD_DONE);
    }
    return true;
}

bool CHttpDownloaderEx::BeginBody(Transfer& transfer, CTcpClientSocket& connection,
                                  size_t headerEnd) {
    const char* const block = buffer.get();
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
        return FailWithText(-1, kv::StatusLineFailureText(std::string_view(block, count)),
                            &connection);
    }

    if (resuming) {
        if (status == 200) {
            // The server ignored the Range line and sends the whole file: appending it would
            // corrupt the file, so it starts over from its first byte.
            if (!MoveFilePointer(file.get(), FILE_BEGIN) || !::SetEndOfFile(file.get()))
                return FailWithSystemError(false, &connection);
            transfer.received = 0;
        } else {
            if (!MoveFilePointer(file.get(), FILE_END)) return FailWithSystemError(false, &connection);
            transfer.expected += existingSize;
            transfer.received = existingSize;
        }
        progress.lastChunk = 0;
        progress.received = transfer.received;
        Notify(WM_DOWNLOAD_PROGRESS, reinterpret_cast<WPARAM>(&progress));
    }

    const int64_t length = kv::ResponseLengthOf(std::string_view(block, headerEnd));
    // A length that cannot be added to the resumed part is no length: read until close.
    if (length >= 0 && length <= std::numeric_limits<int64_t>::max() - transfer.expected) {
        transfer.expected += length;
        transfer.lengthKnown = true;
    }
    transfer.headerDone = true;
    return WriteBlock(transfer, connection, block + headerEnd,
                      static_cast<uint32_t>(static_cast<size_t>(count) - headerEnd));
}

bool CHttpDownloaderEx::EndOfResponse(Transfer& transfer, CTcpClientSocket& connection) {
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
    if (transfer.lengthKnown && transfer.received < transfer.expected)
        return FailWithText(-1, kv::kTruncatedBodyText, &connection);
    return true;
}

bool CHttpDownloaderEx::WriteBlock(Transfer& transfer, CTcpClientSocket& connection,
                                   const char* data, uint32_t count) {
    if (count > 0) {
        DWORD written = 0;
        if (!::WriteFile(file.get(), data, count, &written, nullptr))
            return FailWithSystemError(false, &connection);
        if (written != count) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return FailWithSystemError(false, &connection);
        }
    }
    progress.lastChunk = count;
    transfer.received += count;
    progress.received = transfer.received;
    Notify(WM_DOWNLOAD_PROGRESS, reinterpret_cast<WPARAM>(&progress));
    return true;
}

void CHttpDownloaderEx::Notify(UINT message, WPARAM wParam) {
    ::PostMessageA(notifyWindow, message, wParam, 0);
}

void CHttpDownloaderEx::Stop() { stopRequested = true; }

void CHttpDownloaderEx::PumpMessages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    ::Sleep(10);
}

bool CHttpDownloaderEx::LocalFileExists(const std::string& path) {
    WIN32_FIND_DATAA entry;
    const kv::unique_hfind search(::FindFirstFileA(path.c_str(), &entry));
    return search.valid();
}

int64_t CHttpDownloaderEx::LocalFileSize(const std::string& path) {
    WIN32_FIND_DATAA entry;
    const kv::unique_hfind search(::FindFirstFileA(path.c_str(), &entry));
    if (!search) return 0;
    return static_cast<int64_t>((static_cast<uint64_t>(entry.nFileSizeHigh) << 32) |
                                entry.nFileSizeLow);
}
