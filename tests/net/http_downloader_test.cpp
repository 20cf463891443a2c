// Downloader operations against real sockets with nothing listening: start-up, the
// malformed-URL report, and the engine's own start-up of the socket library, which
// failures leave alone and the downloader's end gives back. No other start-up is held in
// this process, as in a browser whose only sockets are the control's.
#include "base/codepage.h"
#include "net/http_downloader.h"
#include "net/last_error.h"
#include "net/tcp_socket.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

// Port 1 on loopback has no listener on these machines.
const char kRefusedUrl[] = "http://127.0.0.1:1/x.bin";

bool ProcessHoldsAStartUp() {
    CTcpSocket socket;
    const bool created = socket.Create();
    socket.Close();
    return created;
}

TEST(Initialize, BufferSizeZeroFailsWithoutText) {
    CHttpDownloaderEx downloader;
    lastErrorCode = 777;
    lastErrorText = "untouched";
    EXPECT_FALSE(downloader.Initialize(nullptr, 0));
    EXPECT_EQ(777, lastErrorCode);
    EXPECT_EQ("untouched", lastErrorText);
}

TEST(QueryFileSize, PortWithoutSlashIsReported) {
    CHttpDownloaderEx downloader;
    ASSERT_TRUE(downloader.Initialize(nullptr, 102400));
    int64_t size = 99;
    EXPECT_FALSE(downloader.QueryFileSize("http://Example.com:8080", size));
    EXPECT_EQ(99, size);
    EXPECT_EQ(-1, lastErrorCode);
    EXPECT_EQ(L"URL 형식이 옳바르지 않습니다.", kv::AnsiToWide(lastErrorText));
}

TEST(QueryFileSize, FailuresLeaveTheEnginesStartUpInPlace) {
    ASSERT_FALSE(ProcessHoldsAStartUp());
    {
        CHttpDownloaderEx downloader;
        ASSERT_TRUE(downloader.Initialize(nullptr, 102400));
        int64_t size = 0;
        for (int attempt = 0; attempt < 2; ++attempt) {
            EXPECT_FALSE(downloader.QueryFileSize(kRefusedUrl, size));
            EXPECT_EQ(WSAECONNREFUSED, lastErrorCode) << "attempt " << attempt;
        }
        // The resolver's own answer, not that of a library nobody holds any more.
        EXPECT_FALSE(downloader.QueryFileSize("http://no-such-host.invalid/x.bin", size));
        EXPECT_NE(WSANOTINITIALISED, lastErrorCode);
        EXPECT_NE(0, lastErrorCode);
        EXPECT_TRUE(ProcessHoldsAStartUp());
    }
    EXPECT_FALSE(ProcessHoldsAStartUp()) << "the downloader's end gives its start-up back";
}

TEST(QueryFileSize, StartsTheLibraryWhenItIsNeeded) {
    // Without Initialize (the control's window may not exist yet) the query starts it.
    CHttpDownloaderEx downloader;
    int64_t size = 0;
    EXPECT_FALSE(downloader.QueryFileSize(kRefusedUrl, size));
    EXPECT_EQ(WSAECONNREFUSED, lastErrorCode);
}

TEST(Download, CompleteLocalFileNeedsAConnectionOnlyWithAKnownSize) {
    char folder[MAX_PATH];
    ASSERT_NE(0u, ::GetTempPathA(MAX_PATH, folder));
    const std::string path = std::string(folder) + "kv_net_complete.bin";
    {
        const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file, "12345", 5, &written, nullptr));
        ::CloseHandle(file);
    }
    CHttpDownloaderEx downloader;
    EXPECT_TRUE(downloader.LocalFileExists(path));
    EXPECT_EQ(5, downloader.LocalFileSize(path));
    EXPECT_FALSE(downloader.LocalFileExists(path + ".missing"));
    EXPECT_EQ(0, downloader.LocalFileSize(path + ".missing"));

    // No size known yet: the file is not taken as complete, so the download goes to the
    // network, where nothing listens.
    ASSERT_TRUE(downloader.Initialize(nullptr, 102400));
    EXPECT_FALSE(downloader.Download(kRefusedUrl, path));
    EXPECT_EQ(WSAECONNREFUSED, lastErrorCode);
    EXPECT_EQ(5, downloader.LocalFileSize(path)) << "a failed connection leaves the file alone";

    // A size learnt by another job's query: the file is complete without any connection.
    downloader.SetKnownSize(5);
    EXPECT_TRUE(downloader.Download(kRefusedUrl, path));
    ::DeleteFileA(path.c_str());
}

TEST(Download, WithoutInitializeFailsInsteadOfTouchingTheFile) {
    char folder[MAX_PATH];
    ASSERT_NE(0u, ::GetTempPathA(MAX_PATH, folder));
    const std::string path = std::string(folder) + "kv_net_uninitialized.bin";
    ::DeleteFileA(path.c_str());
    CHttpDownloaderEx downloader;
    EXPECT_FALSE(downloader.Download(kRefusedUrl, path));
    EXPECT_EQ(WSANOTINITIALISED, lastErrorCode);
    EXPECT_FALSE(downloader.LocalFileExists(path));
}

}  // namespace
