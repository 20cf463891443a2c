// CHttpDownloaderEx: the remote file's size, and a resumable download into a local file
// that pumps the thread's messages between receives and posts its notifications.
#pragma once

#include "net/download_messages.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

class CTcpClientSocket;

class CHttpDownloaderEx {
public:
    CHttpDownloaderEx() = default;
    virtual ~CHttpDownloaderEx();
    CHttpDownloaderEx(const CHttpDownloaderEx&) = delete;
    CHttpDownloaderEx& operator=(const CHttpDownloaderEx&) = delete;

    bool Initialize(HWND notifyWindow, int bufferSize);
    bool QueryFileSize(const std::string& url, int64_t& size);
    bool Download(const std::string& url, const std::string& localPath);
    void Stop();
    void PumpMessages();
    bool LocalFileExists(const std::string& path);
    int64_t LocalFileSize(const std::string& path);

    // ... the HTTP exchange members (ParseUrl, ResolveRedirect, GetStatusCode, ...) and the
    // fields are declared by the engine's implementation.
};
