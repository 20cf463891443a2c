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
#include <vector>

namespace {

using kvtest::Act;
using kvtest::Bytes;
using kvtest::Close;
using kvtest::SilenceForever;

const char kUrl[] = "http://127.0.0.1/f.bin";

// A message-only window that records the downloader's notifications as they are handled.
class NotifySink {
public:
    NotifySink() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KvDownloadLoopSink";
        ::RegisterClassA(&windowClass);
        window_.reset(::CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0,
                                        HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr));
        ::SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    HWND get() const { return window_.get(); }

    std::vector<std::string> seen;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* sink = reinterpret_cast<NotifySink*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        if (sink && message == WM_DOWNLOAD_BEGIN) sink->seen.push_back("BEGIN");
        if (sink && message == WM_DOWNLOAD_PROGRESS) {
            const auto* progress = reinterpret_cast<const DownloadProgress*>(wParam);
            sink->seen.push_back("PROGRESS " + std::to_string(progress->received));
        }
        if (sink && message == WM_DOWNLOAD_DONE) sink->seen.push_back("DONE");
        if (sink && message == WM_DOWNLOAD_STOPPED) sink->seen.push_back("STOPPED");
        return ::DefWindowProcA(window, message, wParam, lParam);
    }

    kv::unique_hwnd window_;
};

// Handles what is still queued; returns the exit code of a WM_QUIT found there, or -1.
int DrainQueue() {
    int quitCode = -1;
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) quitCode = static_cast<int>(message.wParam);
        ::DispatchMessageA(&message);
    }
    return quitCode;
}

class ScriptedDownload : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[MAX_PATH];
        ASSERT_NE(0u, ::GetTempPathA(MAX_PATH, folder));
        path_ = std::string(folder) + "kv_download_loop.bin";
        ::DeleteFileA(path_.c_str());
        ASSERT_TRUE(downloader_.Initialize(sink_.get(), 102400));
        downloader_.SetConnector(server_.Connector());
    }
    void TearDown() override {
        DrainQueue();
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
        const bool ok = downloader_.Download(kUrl, path_);
        DrainQueue();
        return ok;
    }

    NotifySink sink_;
    kvtest::ScriptedServer server_;
    CHttpDownloaderEx downloader_;
    std::string path_;
};

TEST_F(ScriptedDownload, SplitHeaderAndChunkedBodyAreDecoded) {
    // Cut inside the status code, the coding's name, a chunk's data and the last chunk's
    // line; the body's end is the last chunk, not the server's close.
    EXPECT_TRUE(Download({Bytes("HTTP/1.1 2"), Bytes("00 OK\r\nTransfer-Enc"),
                          Bytes("oding: chunked\r\n\r\n5;name=value\r\nhel"),
                          Bytes("lo\r\n6\r\n world\r\n0"), Bytes("\r\nTrailer: x\r\n\r\n"),
                          SilenceForever()}));
    EXPECT_EQ("hello world", ReadLocal());
    EXPECT_EQ("DONE", sink_.seen.back());
    EXPECT_EQ("PROGRESS 11", sink_.seen[sink_.seen.size() - 2]);
}

TEST_F(ScriptedDownload, ChunkedPartialContentResumesAtItsOffset) {
    WriteLocal("hello ");
    EXPECT_TRUE(Download({Bytes("HTTP/1.1 206 Partial Content\r\nContent-Range: bytes 6-10/11\r\n"
                                "Transfer-Encoding: chunked\r\n\r\n5\r\nworld\r\n0\r\n\r\n")}));
    EXPECT_EQ("hello world", ReadLocal());
    EXPECT_NE(std::string::npos, server_.requests.back().find("\r\nRange: bytes=6-\r\n"));
}

TEST_F(ScriptedDownload, BrokenOrCutChunkedBodyFails) {
    const std::string header = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    EXPECT_FALSE(Download({Bytes(header + "5\r\nhel"), Close()}));
    EXPECT_EQ(-1, lastErrorCode);
    EXPECT_EQ(L"서버와의 연결이 끊어져 파일을 끝까지 받지 못했습니다.", kv::AnsiToWide(lastErrorText));

    EXPECT_FALSE(Download({Bytes(header + "5\r\nhelloXY\r\n0\r\n\r\n")}));
    EXPECT_EQ(-1, lastErrorCode);
    EXPECT_EQ(L"서버가 보낸 청크 형식이 올바르지 않습니다.", kv::AnsiToWide(lastErrorText));
    EXPECT_EQ("hello", ReadLocal()) << "what was decoded before the break stays for resuming";
}

TEST_F(ScriptedDownload, RedirectAnswerIsNotTheFile) {
    WriteLocal("part");
    EXPECT_FALSE(Download({Bytes("HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1/g.bin\r\n"
                                 "Content-Length: 9\r\n\r\nsee other")}));
    EXPECT_EQ(302, lastErrorCode);
    EXPECT_EQ("part", ReadLocal());
}

TEST_F(ScriptedDownload, PartialContentFromAnotherOffsetIsNotAppended) {
    WriteLocal("hello ");
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
    EXPECT_EQ(-1, lastErrorCode);
    EXPECT_EQ(0u, kv::AnsiToWide(lastErrorText).find(L"지정된 파일의 크기를 알 수가 없습니다.\r\n"));
}

TEST_F(ScriptedDownload, UrlWithALineBreakSendsNothing) {
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
    EXPECT_FALSE(Download({Bytes("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc"), SilenceForever()}));
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

TEST_F(ScriptedDownload, StopActsWhileTheServerIsSilent) {
    EXPECT_TRUE(Download({Bytes("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc"),
                          Act([this] { downloader_.Stop(); }), SilenceForever()}));
    EXPECT_EQ("STOPPED", sink_.seen.back());
    EXPECT_EQ("abc", ReadLocal());
}

TEST_F(ScriptedDownload, QuitIsLeftForTheThreadsOwnLoop) {
    server_.AnswerProbe();
    server_.Answer({Bytes("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc"),
                    Act([] { ::PostQuitMessage(7); }), SilenceForever()});
    EXPECT_TRUE(downloader_.Download(kUrl, path_));
    EXPECT_EQ(7, DrainQueue());
    EXPECT_EQ("STOPPED", sink_.seen.back());
    EXPECT_EQ("abc", ReadLocal());
}

TEST(Download, WithoutAWindowPostsNothing) {
    char folder[MAX_PATH];
    ASSERT_NE(0u, ::GetTempPathA(MAX_PATH, folder));
    const std::string path = std::string(folder) + "kv_download_nowindow.bin";
    ::DeleteFileA(path.c_str());
    kvtest::ScriptedServer server;
    server.AnswerProbe();
    server.Answer({Bytes("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabc")});
    CHttpDownloaderEx downloader;
    ASSERT_TRUE(downloader.Initialize(nullptr, 102400));
    downloader.SetConnector(server.Connector());
    EXPECT_TRUE(downloader.Download(kUrl, path));
    MSG message;
    EXPECT_FALSE(::PeekMessageA(&message, nullptr, WM_DOWNLOAD_BEGIN, WM_DOWNLOAD_STOPPED, PM_REMOVE))
        << "message " << message.message << " was posted to the thread";
    EXPECT_EQ(3, downloader.LocalFileSize(path));
    ::DeleteFileA(path.c_str());
}

}  // namespace
