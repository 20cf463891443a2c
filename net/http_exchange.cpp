// The HTTP/1.1 exchange members of CHttpDownloaderEx: URL split with resolution, the
// redirect probe, header fields with their failure texts, and the failure reports.
#include "net/http_downloader.h"

#include "base/ansi_text.h"
#include "net/engine_texts.h"
#include "net/header_receiver.h"
#include "net/http_request.h"
#include "net/http_response.h"
#include "net/http_status_text.h"
#include "net/last_error.h"
#include "net/socket_library.h"
#include "net/system_message.h"
#include "net/tcp_client_socket.h"
#include "net/url_split.h"

#include <cstring>

bool CHttpDownloaderEx::ParseUrl(std::string url, std::string& hostName, std::string& hostAddress,
                                 uint16_t& port, std::string& path) {
    kv::UrlParts parts;
    const bool wellFormed = kv::SplitUrl(url, parts);
    port = parts.port;
    path = parts.path;
    if (!wellFormed) return FailWithText(-1, kv::kMalformedUrlText, nullptr);
    hostName = parts.hostName;
    hostAddress = parts.hostAddress;

    if (::inet_addr(hostAddress.c_str()) == INADDR_NONE) {
        const hostent* entry = ::gethostbyname(hostAddress.c_str());
        if (!entry) return FailWithSystemError(true, nullptr);
        if (entry->h_addrtype != AF_INET || !entry->h_addr_list[0]) {
            ::WSASetLastError(WSANO_DATA);  // a name without an IPv4 address
            return FailWithSystemError(true, nullptr);
        }
        in_addr first;
        std::memcpy(&first, entry->h_addr_list[0], sizeof first);
        char dotted[512] = {};
        std::strncpy(dotted, ::inet_ntoa(first), sizeof dotted - 1);
        hostAddress = kv::TrimBlanks(dotted);
    }
    return true;
}

std::string CHttpDownloaderEx::ResolveRedirect(const std::string& url) {
    std::string hostName, hostAddress, path;
    uint16_t port = 80;
    if (!ParseUrl(url, hostName, hostAddress, port, path)) return {};

    CTcpClientSocket connection;
    const kv::ConnectionCloser closer(connection);
    if (!connection.Create() || !connection.Connect(hostAddress.c_str(), port)) {
        connection.Close();
        return {};
    }
    const std::string request = kv::PlainRequest(path, hostName);
    if (!connection.Send(request.data(), static_cast<int>(request.size()), 0)) {
        connection.Close();
        return {};
    }
    char block[2048] = {};
    const int count = kv::ReceiveHeaderBlock(connection, block, sizeof block - 1);
    std::string location;
    // The probe leaves the last error alone, so it reads the status without GetStatusCode's
    // failure text.
    if (count > 0 && kv::StatusCodeOf(std::string_view(block, count)) == 301)
        location = GetLocation(block, count);
    connection.Close();
    return location;
}

int CHttpDownloaderEx::GetStatusCode(const char* block, int count) {
    const std::string_view text(block, count > 0 ? static_cast<size_t>(count) : 0);
    const int status = kv::StatusCodeOf(text);
    if (status == -1) {
        lastErrorCode = -1;
        lastErrorText = kv::StatusLineFailureText(text);
    }
    return status;
}

bool CHttpDownloaderEx::IsErrorStatus(int status) { return status < 0 || status >= 400; }

int64_t CHttpDownloaderEx::GetContentLength(const char* block, int count) {
    const std::string_view text(block, count > 0 ? static_cast<size_t>(count) : 0);
    const int64_t length = kv::ContentLengthOf(text);
    if (length < 0) {
        lastErrorCode = -1;
        lastErrorText = kv::LengthFailureText(text);
    }
    return length;
}

std::string CHttpDownloaderEx::GetLocation(const char* block, int count) {
    return kv::LocationOf(std::string_view(block, count > 0 ? static_cast<size_t>(count) : 0));
}

bool CHttpDownloaderEx::FailWithText(int32_t code, const std::string& text,
                                     CTcpClientSocket* connection) {
    lastErrorCode = code;
    lastErrorText = text;
    file.reset();
    if (connection) connection->Close();
    CleanupSockets();
    return false;
}

bool CHttpDownloaderEx::FailWithStatus(int status, CTcpClientSocket* connection) {
    return FailWithText(status, kv::HttpStatusText(status), connection);
}

bool CHttpDownloaderEx::FailWithSystemError(bool fromSockets, CTcpClientSocket* connection) {
    const DWORD code = fromSockets ? static_cast<DWORD>(::WSAGetLastError()) : ::GetLastError();
    return FailWithText(static_cast<int32_t>(code), kv::SystemMessage(code), connection);
}
