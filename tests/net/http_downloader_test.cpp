// Downloader operations that need no server: start-up, the malformed-URL report and the
// release of the socket library by failure reports.
#include "base/codepage.h"
#include "net/http_downloader.h"
#include "net/last_error.h"
#include "net/socket_library.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

TEST(Initialize, BufferSizeZeroFailsWithoutText) {
    CHttpDownloaderEx downloader;
    lastErrorCode = 777;
    lastErrorText = "untouched";
    EXPECT_FALSE(downloader.Initialize(nullptr, 0));
    EXPECT_EQ(777, lastErrorCode);
    EXPECT_EQ("untouched", lastErrorText);
    EXPECT_TRUE(socketsStarted) << "the library is started before the size is checked";
    EXPECT_TRUE(CleanupSockets());
}

TEST(QueryFileSize, PortWithoutSlashIsReportedAndReleasesTheLibrary) {
    CHttpDownloaderEx downloader;
    ASSERT_TRUE(downloader.Initialize(nullptr, 102400));
    int64_t size = 99;
    EXPECT_FALSE(downloader.QueryFileSize("http://Example.com:8080", size));
    EXPECT_EQ(99, size);
    EXPECT_EQ(-1, lastErrorCode);
    EXPECT_EQ(L"URL 형식이 옳바르지 않습니다.", kv::AnsiToWide(lastErrorText));
    EXPECT_FALSE(socketsStarted);
}

TEST(QueryFileSize, RefusedConnectionGivesTheSystemsCode) {
    CHttpDownloaderEx downloader;
    ASSERT_TRUE(downloader.Initialize(nullptr, 102400));
    // Port 1 on loopback has no listener on these machines.
    int64_t size = 0;
    EXPECT_FALSE(downloader.QueryFileSize("http://127.0.0.1:1/x.bin", size));
    EXPECT_EQ(WSAECONNREFUSED, lastErrorCode);
    EXPECT_FALSE(lastErrorText.empty());
    EXPECT_FALSE(socketsStarted);
}

TEST(QueryFileSize, AfterTheReleaseOnlyAnotherStartUpKeepsItWorking) {
    CHttpDownloaderEx downloader;
    ASSERT_TRUE(downloader.Initialize(nullptr, 102400));
    int64_t size = 0;
    ASSERT_FALSE(downloader.QueryFileSize("http://127.0.0.1:1/x.bin", size));
    ASSERT_FALSE(socketsStarted);
    // Nobody holds a start-up now: socket creation fails for a library that is not started.
    EXPECT_FALSE(downloader.QueryFileSize("http://127.0.0.1:1/x.bin", size));
    EXPECT_EQ(WSANOTINITIALISED, lastErrorCode);
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
    EXPECT_FALSE(downloader.Download("http://127.0.0.1:1/x.bin", path));
    EXPECT_EQ(WSAECONNREFUSED, lastErrorCode);
    EXPECT_EQ(5, downloader.LocalFileSize(path)) << "a failed connection leaves the file alone";
    ::DeleteFileA(path.c_str());
}

TEST(Download, WithoutInitializeFailsInsteadOfTouchingTheFile) {
    char folder[MAX_PATH];
    ASSERT_NE(0u, ::GetTempPathA(MAX_PATH, folder));
    const std::string path = std::string(folder) + "kv_net_uninitialized.bin";
    ::DeleteFileA(path.c_str());
    CHttpDownloaderEx downloader;
    EXPECT_FALSE(downloader.Download("http://127.0.0.1:1/x.bin", path));
    EXPECT_EQ(WSANOTINITIALISED, lastErrorCode);
    EXPECT_FALSE(downloader.LocalFileExists(path));
}

}  // namespace
