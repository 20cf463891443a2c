// The download controller's states, driven by real window messages: a real control window
// with the real child controls, the real downloader against a loopback server of the test's
// own, and an owner that answers the dialogs as the test says.
#include "control/download_controller.h"

#include "base/socket_library_scope.h"
#include "control/installer_children.h"
#include "control/installer_messages.h"
#include "control/resource.h"
#include "net/download_messages.h"
#include "net/http_downloader.h"
#include "loopback_server.h"

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr UINT WM_SNAPSHOT = WM_APP + 1;  // records the panel as it is at that moment

struct Snapshot {
    bool downloading, timer, run, start, stop, folder;
    std::string status;
};

class ScriptedOwner final : public ControllerOwner {
public:
    HRESULT ReportError(int32_t code, const std::string& text) override {
        errors.push_back(std::to_string(code) + " " + text);
        return E_FAIL;
    }
    void FireOnClose() override { ++closes; }
    int ShowMessageBox(const std::string& text, const char* caption, UINT style) override {
        boxes.push_back(std::string(caption) + "|" + text + "|" + std::to_string(style));
        if (answers.empty()) return (style & MB_YESNO) ? IDYES : IDOK;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> ChooseFolder() override { return folder; }
    kv::ComPtr<IUnknown> KeepAlive() override { return {}; }

    std::deque<int> answers;
    std::optional<std::string> folder;
    std::vector<std::string> errors, boxes;
    int closes = 0;
};

class Controlled : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KorvendalControllerTest";
        ::RegisterClassA(&windowClass);
        window = ::CreateWindowExA(0, windowClass.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 320,
                                   nullptr, nullptr, windowClass.hInstance, nullptr);
        ASSERT_NE(nullptr, window);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ASSERT_TRUE(downloader.Initialize(window, 102400));
        children.Create(window);
        controller.Attach(window);
        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "kv-controller-" + std::to_string(::GetCurrentProcessId());
        ::CreateDirectoryA(folder.c_str(), nullptr);
        TransferTarget& target = controller.target();
        target.fileName = "setup.exe";
        target.url = server.Url("setup.exe");
        target.fileSize = static_cast<int64_t>(server.body.size());
        controller.SetDownloadFolder(folder);
        controller.SetInitialized();
    }
    void TearDown() override {
        ::DestroyWindow(window);
        ::DeleteFileA(controller.target().targetPath.c_str());
        ::RemoveDirectoryA(folder.c_str());
    }

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Controlled*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && message == WM_SNAPSHOT) {
            self->snapshots.push_back(self->Take());
            return 0;
        }
        if (self && message == WM_DRAWITEM) {
            self->children.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        if (self && self->controller.OnMessage(message, wParam, lParam)) return 0;
        return ::DefWindowProcA(window, message, wParam, lParam);
    }

    Snapshot Take() const {
        auto shown = [this](int id) { return (::GetWindowLongA(::GetDlgItem(window, id), GWL_STYLE) & WS_VISIBLE) != 0; };
        auto enabled = [this](int id) { return ::IsWindowEnabled(::GetDlgItem(window, id)) != FALSE; };
        return {controller.downloading(), controller.timerRunning(), enabled(IDC_BTN_RUN),
                shown(IDC_BTN_START), shown(IDC_BTN_STOP), enabled(IDC_BTN_FOLDER), Text(IDC_DOWN_STATUS)};
    }
    std::string Text(int id) const {
        char text[512] = {};
        ::GetWindowTextA(::GetDlgItem(window, id), text, sizeof text);
        return text;
    }
    void Post(UINT message, WPARAM wParam = 0) { ::PostMessageA(window, message, wParam, 0); }
    void PostCommand(int id) { Post(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED)); }
    void Click(int id) { ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    void Pump() {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
    }
    void WritePartialFile(size_t bytes) {
        std::ofstream(controller.target().targetPath, std::ios::binary) << server.body.substr(0, bytes);
    }

    kv::SocketLibraryScope sockets;
    LoopbackServer server{std::string(5000, 'k')};
    HWND window = nullptr;
    std::string folder;
    CHttpDownloaderEx downloader;
    CInstallerChildren children;
    ScriptedOwner owner;
    CDownloadController controller{children, owner, downloader};
    std::vector<Snapshot> snapshots;
};

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void ExpectPanel(const Snapshot& s, bool downloading, bool timer, bool run, bool start, bool stop,
                 bool folder, const std::string& status, const char* when) {
    SCOPED_TRACE(when);
    EXPECT_EQ(downloading, s.downloading);
    EXPECT_EQ(timer, s.timer);
    EXPECT_EQ(run, s.run);
    EXPECT_EQ(start, s.start);
    EXPECT_EQ(stop, s.stop);
    EXPECT_EQ(folder, s.folder);
    EXPECT_EQ(status, s.status);
}

TEST_F(Controlled, InitialisedWindowIsIdle) {
    ExpectPanel(Take(), false, false, false, true, false, true, "", "initialised");
}

TEST_F(Controlled, StartRunsToDone) {
    Post(WM_SNAPSHOT);
    Click(IDC_BTN_START);
    Pump();
    ASSERT_EQ(1u, snapshots.size());
    // Posted before the downloader's own notices, so the status line is not written yet.
    ExpectPanel(snapshots[0], true, true, false, false, true, false, "", "during");
    ExpectPanel(Take(), false, false, true, true, false, false, "다운로드 완료", "done");
    EXPECT_EQ("100%", Text(IDC_PERCENT));
    EXPECT_EQ(0u, controller.elapsedSeconds());
    EXPECT_EQ(5000, controller.transferBytes());
    EXPECT_TRUE(owner.boxes.empty());
}

TEST_F(Controlled, StopThenStoppedThenCloseAfterAClosePendingStop) {
    Post(WM_SNAPSHOT);
    PostCommand(IDC_BTN_STOP);
    Post(WM_SNAPSHOT);
    Click(IDC_BTN_START);
    Pump();
    ASSERT_EQ(2u, snapshots.size());
    ExpectPanel(snapshots[1], true, true, false, true, false, true, "", "stop asked");
    ExpectPanel(Take(), false, false, false, true, false, true, "다운로드 중단", "stopped");
    EXPECT_EQ(0, controller.transferBytes());
    EXPECT_EQ(0, owner.closes);

    // Close during a transfer: stopped, then OnClose once; a later stop closes nothing.
    PostCommand(IDC_BTN_CLOSE);
    Click(IDC_BTN_START);
    Pump();
    EXPECT_EQ("다운로드 중단", Text(IDC_DOWN_STATUS));
    EXPECT_EQ(1, owner.closes);
    PostCommand(IDC_BTN_STOP);
    Click(IDC_BTN_START);
    Pump();
    EXPECT_EQ(1, owner.closes);
}

TEST_F(Controlled, AStopThatCameAfterTheEndDoesNotStopTheNextTransfer) {
    Click(IDC_BTN_START);
    Click(IDC_BTN_STOP);  // the transfer has ended, its end notice is not handled yet
    Pump();
    ::DeleteFileA(controller.target().targetPath.c_str());
    Click(IDC_BTN_START);
    Pump();
    EXPECT_EQ("다운로드 완료", Text(IDC_DOWN_STATUS));
}

TEST_F(Controlled, CloseWhileIdleFiresOnCloseOnly) {
    const Snapshot before = Take();
    Click(IDC_BTN_CLOSE);
    Pump();
    EXPECT_EQ(1, owner.closes);
    ExpectPanel(Take(), before.downloading, before.timer, before.run, before.start, before.stop,
                before.folder, before.status, "closed");
}

TEST_F(Controlled, APartialFileAsksAndNoChangesNothing) {
    WritePartialFile(2500);
    owner.answers = {IDNO};
    Click(IDC_BTN_START);
    Pump();
    ASSERT_EQ(1u, owner.boxes.size());
    EXPECT_EQ("알림|파일이 존재합니다. 이어받으시겠습니까?|36", owner.boxes[0]);
    ExpectPanel(Take(), false, false, false, true, false, true, "", "answered no");
    EXPECT_EQ(0, server.Requests());

    owner.answers = {IDYES};
    Click(IDC_BTN_START);
    Pump();
    EXPECT_EQ("다운로드 완료", Text(IDC_DOWN_STATUS));
    EXPECT_EQ(server.body, ReadWholeFile(controller.target().targetPath));
    EXPECT_EQ("bytes=2500-", server.LastRange());
}

TEST_F(Controlled, AnEmptyFileStartsWithoutAsking) {
    WritePartialFile(0);
    Click(IDC_BTN_START);
    Pump();
    EXPECT_TRUE(owner.boxes.empty());
    EXPECT_EQ("다운로드 완료", Text(IDC_DOWN_STATUS));
}

TEST_F(Controlled, AFailedTransferShowsTheErrorAndReturnsToIdle) {
    controller.target().url = "http://127.0.0.1:1/setup.exe";
    Click(IDC_BTN_START);
    Pump();
    ExpectPanel(Take(), false, false, false, true, false, true, Take().status, "failed");
    ASSERT_EQ(1u, owner.boxes.size());
    EXPECT_EQ(0u, owner.boxes[0].find("에러|" + Take().status + "|16"));
    EXPECT_NE(std::string::npos, Take().status.find("(10061)"));  // connection refused
    EXPECT_EQ(1u, owner.errors.size());
}

TEST_F(Controlled, StartIsIgnoredWhileAStoppedTransferHasNotReturned) {
    PostCommand(IDC_BTN_STOP);
    PostCommand(IDC_BTN_START);  // start is shown again before the transfer returns
    Click(IDC_BTN_START);
    Pump();
    EXPECT_EQ(2, server.Requests());  // the redirect probe and one GET: no second transfer
    EXPECT_EQ("다운로드 중단", Text(IDC_DOWN_STATUS));
}

TEST_F(Controlled, OtherNotificationCodesAndEarlyNotificationsChangeNothing) {
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_BTN_START, BN_DOUBLECLICKED), 0);
    EXPECT_FALSE(controller.downloading());
    CDownloadController fresh{children, owner, downloader};
    fresh.OnMessage(WM_DOWNLOAD_BEGIN, 0, 0);
    fresh.OnMessage(WM_DOWNLOAD_DONE, 0, 0);
    EXPECT_EQ("", Text(IDC_DOWN_STATUS));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(window, IDC_BTN_RUN)));
}

TEST_F(Controlled, TheTimerCountsAndElapsedTimeSurvivesAStop) {
    for (int k = 0; k < 5; ++k) ::SendMessageA(window, WM_TIMER, 7, 0);
    EXPECT_EQ(" 0:00:05", Text(IDC_ELAPSED_TIME));
    PostCommand(IDC_BTN_STOP);
    Click(IDC_BTN_START);
    Pump();
    EXPECT_GE(controller.elapsedSeconds(), 5u);
}

TEST_F(Controlled, ChoosingAFolderShowsWhatLiesThere) {
    WritePartialFile(5000);
    owner.folder = folder;
    Click(IDC_BTN_FOLDER);
    EXPECT_EQ(folder + "\\setup.exe", Text(IDC_DOWN_FOLDER));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(window, IDC_BTN_RUN)));
    EXPECT_EQ("100%", Text(IDC_PERCENT));
    owner.folder.reset();
    Click(IDC_BTN_FOLDER);
    EXPECT_EQ(folder + "\\setup.exe", Text(IDC_DOWN_FOLDER));
}

}  // namespace
