// The downloader's exchanges fed by scripted connections: split headers, chunked bodies,
// answers that carry no file or belong elsewhere, silence, stop and quit, and the
// notifications. No network: the connector seam hands out the scripts.
#include "base/codepage.h"
#include "base/unique_resource.h"
#include "net/http_downloader.h"
#include "net/last_error.h"
#include "tests/net/scripted_connection.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

using kvtest::Act;
using kvtest::Bytes;
using kvtest::SilenceForever;

const char kUrl[] = "http://127.0.0.1/f.bin";
const char kShortHeader[] = "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc";

// The last notification is posted after the last drain: it is still queued when Download
// returns. The rest of the queue is handled; a WM_QUIT's code is kept in quitCode.
UINT LastNotification(HWND window, int* quitCode = nullptr) {
    UINT last = 0;
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.hwnd == window && message.message >= WM_DOWNLOAD_BEGIN &&
            message.message <= WM_DOWNLOAD_STOPPED)
            last = message.message;
        if (message.message == WM_QUIT && quitCode) *quitCode = static_cast<int>(message.wParam);
        ::DispatchMessageA(&message);
    }
    return last;
}

class ScriptedDownload : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[MAX_PATH];
        ASSERT_NE(0u, ::GetTempPathA(MAX_PATH, folder));
        // Per process: ctest runs the cases of this program side by side.
        path_ = std::string(folder) + "kv_download_loop_" + std::to_string(::GetCurrentProcessId()) + ".bin";
        ::DeleteFileA(path_.c_str());
        ASSERT_TRUE(window_);
        ASSERT_TRUE(downloader_.Initialize(window_.get(), 102400));
        downloader_.SetConnector(server_.Connector());
    }
    void TearDown() override {
        LastNotification(window_.get());
        ::DeleteFileA(path_.c_str());
    }

    void WriteLocal(const std::string& bytes) { std::ofstream(path_, std::ios::binary) << bytes; }
    std::string ReadLocal() const {
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Probe, then the download's own connection with `answer`.
    bool Download(std::vector<kvtest::Step> answer) {
        server_.AnswerProbe();
        server_.Answer(std::move(answer));
        return downloader_.Download(kUrl, path_);
    }

    kv::unique_hwnd window_{::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                              nullptr, nullptr, nullptr)};
    kvtest::ScriptedServer server_;
    CHttpDownloaderEx downloader_;
    std::string path_;
};

TEST_F(ScriptedDownload, SplitHeaderAndChunkedBodyAreDecoded) {
    // Cut inside the status code, the coding's name, a chunk's data and the last chunk's
    // line; the body ends with the last chunk, while the server stays connected.
    EXPECT_TRUE(Download({Bytes("HTTP/1.1 2"), Bytes("00 OK\r\nTransfer-Enc"),
                          Bytes("oding: chunked\r\n\r\n5;name=value\r\nhel"),
                          Bytes("lo\r\n6\r\n world\r\n0"), Bytes("\r\nTrailer: x\r\n\r\n"),
                          SilenceForever()}));
    EXPECT_EQ(UINT{WM_DOWNLOAD_DONE}, LastNotification(window_.get()));
    EXPECT_EQ("hello world", ReadLocal());
}

TEST_F(ScriptedDownload, ChunkedPartialContentResumesAtItsOffset) {
    WriteLocal("hello ");
    EXPECT_TRUE(Download({Bytes("HTTP/1.1 206 Partial Content\r\nContent-Range: bytes 6-10/11\r\n"
                                "Transfer-Encoding: chunked\r\n\r\n5\r\nworld\r\n0\r\n\r\n")}));
    EXPECT_EQ("hello world", ReadLocal());
    EXPECT_NE(std::string::npos, server_.requests.back().find("\r\nRange: bytes=6-\r\n"));
}

TEST_F(ScriptedDownload, CutOrBrokenChunkedBodyFails) {
    const std::string header = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    EXPECT_FALSE(Download({Bytes(header + "5\r\nhel")}));
    EXPECT_EQ(-1, lastErrorCode);
    EXPECT_EQ(L"서버와의 연결이 끊어져 파일을 끝까지 받지 못했습니다.", kv::AnsiToWide(lastErrorText));

    EXPECT_FALSE(Download({Bytes(header + "5\r\nhelloXY\r\n0\r\n\r\n")}));
    EXPECT_EQ(L"서버가 보낸 청크 형식이 올바르지 않습니다.", kv::AnsiToWide(lastErrorText));
    EXPECT_EQ("hello", ReadLocal()) << "what was decoded before the break stays for resuming";
}

TEST_F(ScriptedDownload, AnswersThatAreNotTheFileAreNotWritten) {
    WriteLocal("hello ");
    EXPECT_FALSE(Download({Bytes("HTTP/1.1 302 Found\r\nContent-Length: 9\r\n\r\nsee other")}));
    EXPECT_EQ(302, lastErrorCode);
    EXPECT_FALSE(Download({Bytes("HTTP/1.1 206 Partial Content\r\nContent-Range: bytes 0-10/11\r\n"
                                 "Content-Length: 11\r\n\r\nhello world")}));
    EXPECT_EQ(-1, lastErrorCode);
    EXPECT_EQ(0u, kv::AnsiToWide(lastErrorText).find(L"서버가 이어받을 위치가 아닌 곳부터 보냈습니다.\r\n"));
    EXPECT_EQ("hello ", ReadLocal());
}

TEST_F(ScriptedDownload, SizeQueryNeedsASuccessWithALength) {
    int64_t size = 99;
    server_.AnswerProbe();
    server_.Answer({Bytes("HTTP/1.1 302 Found\r\nContent-Length: 9\r\n\r\nsee other")});
    EXPECT_FALSE(downloader_.QueryFileSize(kUrl, size));
    EXPECT_EQ(302, lastErrorCode);

    server_.AnswerProbe();
    server_.Answer({Bytes("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Length: 5\r\n\r\n")});
    EXPECT_FALSE(downloader_.QueryFileSize(kUrl, size));
    EXPECT_EQ(0, size);
    EXPECT_EQ(0u, kv::AnsiToWide(lastErrorText).find(L"지정된 파일의 크기를 알 수가 없습니다.\r\n"));
}

TEST_F(ScriptedDownload, UrlWithALineBreakOrABlankSendsNothing) {
    int64_t size = 0;
    EXPECT_FALSE(downloader_.QueryFileSize("http://127.0.0.1/a.bin\r\nX-Injected: 1", size));
    EXPECT_FALSE(downloader_.Download("http://127.0.0.1/a b.bin", path_));
    EXPECT_EQ(-1, lastErrorCode);
    EXPECT_EQ(L"URL 형식이 옳바르지 않습니다.", kv::AnsiToWide(lastErrorText));
    EXPECT_TRUE(server_.requests.empty()) << "no connection was even opened";
}

TEST_F(ScriptedDownload, SilentServerFailsAndKeepsWhatArrived) {
    // Silence is counted in empty waits, so a short limit shows the rule without spending
    // the receive loop's sleeps of a full one.
    downloader_.SetSilenceLimit(500);
    EXPECT_FALSE(Download({Bytes(kShortHeader), SilenceForever()}));
    EXPECT_EQ(WSAETIMEDOUT, lastErrorCode);
    EXPECT_EQ(L"서버의 응답이 없어 연결을 끊었습니다.", kv::AnsiToWide(lastErrorText));
    EXPECT_EQ("abc", ReadLocal());

    // A probe that is never answered ends the size query without a second connection.
    int64_t size = 0;
    server_.Answer({SilenceForever()});
    EXPECT_FALSE(downloader_.QueryFileSize(kUrl, size));
    EXPECT_EQ(WSAETIMEDOUT, lastErrorCode);
    EXPECT_EQ(3u, server_.requests.size());
}

TEST_F(ScriptedDownload, StopAndQuitActWhileTheServerIsSilent) {
    EXPECT_TRUE(Download({Bytes(kShortHeader), Act([this] { downloader_.Stop(); }), SilenceForever()}));
    EXPECT_EQ(UINT{WM_DOWNLOAD_STOPPED}, LastNotification(window_.get()));

    // The browser's own loop must still see the quit that the transfer's pump took.
    EXPECT_TRUE(Download({Bytes(kShortHeader), Act([] { ::PostQuitMessage(7); }), SilenceForever()}));
    int quitCode = -1;
    EXPECT_EQ(UINT{WM_DOWNLOAD_STOPPED}, LastNotification(window_.get(), &quitCode));
    EXPECT_EQ(7, quitCode);
    EXPECT_EQ("abc", ReadLocal());
}

TEST(Download, WithoutAWindowPostsNothing) {
    char folder[MAX_PATH];
    ASSERT_NE(0u, ::GetTempPathA(MAX_PATH, folder));
    const std::string path =
        std::string(folder) + "kv_download_nowindow_" + std::to_string(::GetCurrentProcessId()) + ".bin";
    ::DeleteFileA(path.c_str());
    kvtest::ScriptedServer server;
    server.AnswerProbe();
    server.Answer({Bytes("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabc")});
    CHttpDownloaderEx downloader;
    ASSERT_TRUE(downloader.Initialize(nullptr, 102400));
    downloader.SetConnector(server.Connector());
    EXPECT_TRUE(downloader.Download(kUrl, path));
    MSG message;
    EXPECT_FALSE(::PeekMessageA(&message, nullptr, WM_DOWNLOAD_BEGIN, WM_DOWNLOAD_STOPPED, PM_REMOVE));
    EXPECT_EQ(3, downloader.LocalFileSize(path));
    ::DeleteFileA(path.c_str());
}

}  // namespace
