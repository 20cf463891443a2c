// The download controller's jobs and states, driven by real window messages: a real window
// with the real child controls, an engine whose notifications the test scripts (posted and
// pumped as the real engine does, without any socket), a clock the test sets, and an owner
// that answers the dialogs as the test says.
#include "control/download/download_controller.h"

#include "control/download/controller_messages.h"
#include "control/resource.h"
#include "control/window/child_panel.h"

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <vector>

namespace {

constexpr UINT WM_SNAPSHOT = WM_APP + 1;  // records the panel as it is at that moment

struct Snapshot {
    bool downloading, timer, run, start, stop, folder;
    std::string status;
};

void Pump() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
}

// Plays a transfer as the engine does: BEGIN, one PROGRESS per block with the queue drained
// before each, then DONE, or STOPPED once a stop was asked; or a failure with no end notice.
class ScriptedEngine final : public kv::TransferEngine {
public:
    void SetNotifyWindow(HWND window) override { window_ = window; }
    std::optional<kv::Failure> Transfer(const std::string& url, const std::string& path,
                                        int64_t knownSize) override {
        requests.push_back({url, path, knownSize});
        ++depth;
        struct Leave {
            int& depth;
            ~Leave() { --depth; }
        } leave{depth};
        if (failure) return failure;
        stop_ = false;
        progress_ = {};
        Post(WM_DOWNLOAD_BEGIN);
        for (const uint32_t block : blocks) {
            Pump();
            if (duringTransfer) duringTransfer();
            if (stop_) break;
            progress_.lastChunk = block;
            progress_.received += block;
            Post(WM_DOWNLOAD_PROGRESS);
        }
        Pump();
        Post(stop_ ? WM_DOWNLOAD_STOPPED : WM_DOWNLOAD_DONE);
        return std::nullopt;
    }
    void Stop() override { stop_ = true; }
    DownloadProgress Progress() const override { return progress_; }

    struct Request {
        std::string url, path;
        int64_t knownSize;
    };
    std::vector<Request> requests;
    std::vector<uint32_t> blocks{2000, 2000, 1000};
    std::optional<kv::Failure> failure;
    std::function<void()> duringTransfer;  // runs inside the pump, before each block
    int depth = 0;

private:
    void Post(UINT message) {
        if (window_) ::PostMessageA(window_, message, 0, 0);
    }
    HWND window_ = nullptr;
    bool stop_ = false;
    DownloadProgress progress_;
};

class ManualClock final : public kv::ControllerClock {
public:
    uint32_t Now() const override { return now; }
    kv::InputMoment CurrentInput() const override { return {now, place}; }
    uint32_t DoubleClickTime() const override { return 500; }
    SIZE DoubleClickArea() const override { return {4, 4}; }

    uint32_t now = 100000;
    POINT place{50, 50};
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
        // A real box runs a modal loop: whatever is posted meanwhile is handled inside it.
        ++open;
        maxOpen = std::max(maxOpen, open);
        Pump();
        --open;
        if (answers.empty()) return (style & MB_YESNO) ? IDYES : IDOK;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> ChooseFolder() override {
        ++folderDialogs;
        return folder;
    }
    kv::ComPtr<IUnknown> KeepAlive() override { return {}; }

    std::deque<int> answers;
    std::optional<std::string> folder;
    std::vector<std::string> errors, boxes;
    int closes = 0, open = 0, maxOpen = 0, folderDialogs = 0;
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
        panel.Create(window);
        controller.Attach(window);
        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "kv-controller-" + std::to_string(::GetCurrentProcessId());
        ::CreateDirectoryA(folder.c_str(), nullptr);
        BeginJob("setup.exe", kv::RemoteSize{5000, std::nullopt});
    }
    void TearDown() override {
        ::DestroyWindow(window);
        for (const char* name : {"setup.exe", "other.exe"}) ::DeleteFileA((folder + "\\" + name).c_str());
        // A job makes its folder the current one, and a current folder cannot be removed.
        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        ::SetCurrentDirectoryA(temp);
        ::RemoveDirectoryA(folder.c_str());
    }

    void BeginJob(const std::string& name, const kv::RemoteSize& size) {
        controller.BeginJob({"http://127.0.0.1:1/" + name, name, folder, size});
    }

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Controlled*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && message == WM_SNAPSHOT) {
            self->snapshots.push_back(self->Take());
            return 0;
        }
        if (self && message == WM_DRAWITEM) {
            self->panel.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        if (self && self->controller.OnMessage(message, wParam, lParam)) return 0;
        return ::DefWindowProcA(window, message, wParam, lParam);
    }

    Snapshot Take() const {
        auto shown = [this](int id) { return (::GetWindowLongA(::GetDlgItem(window, id), GWL_STYLE) & WS_VISIBLE) != 0; };
        return {controller.downloading(), controller.timerRunning(), Enabled(IDC_BTN_RUN),
                shown(IDC_BTN_START), shown(IDC_BTN_STOP), Enabled(IDC_BTN_FOLDER), Text(IDC_DOWN_STATUS)};
    }
    bool Enabled(int id) const { return ::IsWindowEnabled(::GetDlgItem(window, id)) != FALSE; }
    std::string Text(int id) const {
        char text[512] = {};
        ::GetWindowTextA(::GetDlgItem(window, id), text, sizeof text);
        return text;
    }
    void Post(UINT message, WPARAM wParam = 0) { ::PostMessageA(window, message, wParam, 0); }
    void Click(int id) { ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    // A click on `id` a little later than the last input, so that it is a gesture of its own.
    void ClickLater(int id) {
        clock.now += 1000;
        Click(id);
    }
    void WriteFile(const std::string& name, size_t bytes) {
        std::ofstream(folder + "\\" + name, std::ios::binary) << std::string(bytes, 'k');
    }

    HWND window = nullptr;
    std::string folder;
    ScriptedEngine engine;
    ManualClock clock;
    CChildPanel panel;
    ScriptedOwner owner;
    CDownloadController controller{panel, owner, engine, clock};
    std::vector<Snapshot> snapshots;
};

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

TEST_F(Controlled, ANewJobShowsItsFileIdle) {
    ExpectPanel(Take(), false, false, false, true, false, true, "", "job begun");
    EXPECT_EQ("setup.exe", Text(IDC_FILE_NAME));
    EXPECT_EQ("4 KB", Text(IDC_FILE_SIZE));
    EXPECT_EQ(folder + "\\setup.exe", Text(IDC_DOWN_FOLDER));
    EXPECT_EQ("00:00:00", Text(IDC_ELAPSED_TIME));
}

TEST_F(Controlled, StartRunsToDone) {
    Post(WM_SNAPSHOT);
    Click(IDC_BTN_START);
    Pump();
    ASSERT_EQ(1u, snapshots.size());
    // Posted before the engine's own notices, so the status line is not written yet.
    ExpectPanel(snapshots[0], true, true, false, false, true, false, "", "during");
    ExpectPanel(Take(), false, false, true, true, false, false, "다운로드 완료", "done");
    EXPECT_EQ("100%", Text(IDC_PERCENT));
    EXPECT_EQ(0u, controller.counters().elapsedSeconds);
    EXPECT_EQ(5000, controller.counters().transferBytes);
    EXPECT_TRUE(owner.boxes.empty());
    ASSERT_EQ(1u, engine.requests.size());
    EXPECT_EQ("http://127.0.0.1:1/setup.exe", engine.requests[0].url);
    EXPECT_EQ(folder + "\\setup.exe", engine.requests[0].path);
    EXPECT_EQ(5000, engine.requests[0].knownSize);
}

TEST_F(Controlled, StopThenStoppedThenCloseAfterAClosePendingStop) {
    engine.duringTransfer = [&] {
        engine.duringTransfer = nullptr;
        ClickLater(IDC_BTN_STOP);
        snapshots.push_back(Take());
    };
    Click(IDC_BTN_START);
    Pump();
    ASSERT_EQ(1u, snapshots.size());
    ExpectPanel(snapshots[0], true, true, false, true, false, true, "다운로드 중...", "stop asked");
    ExpectPanel(Take(), false, false, false, true, false, true, "다운로드 중단", "stopped");
    EXPECT_EQ(0, controller.counters().transferBytes);
    EXPECT_EQ(0, owner.closes);

    // Close during a transfer: stopped, then OnClose once; a later stop closes nothing.
    engine.duringTransfer = [&] { engine.duringTransfer = nullptr; ClickLater(IDC_BTN_CLOSE); };
    ClickLater(IDC_BTN_START);
    Pump();
    EXPECT_EQ("다운로드 중단", Text(IDC_DOWN_STATUS));
    EXPECT_EQ(1, owner.closes);
    engine.duringTransfer = [&] { engine.duringTransfer = nullptr; ClickLater(IDC_BTN_STOP); };
    ClickLater(IDC_BTN_START);
    Pump();
    EXPECT_EQ(1, owner.closes);
}

// The second press of a double-click on start lands on stop, which start has just shown in
// its place: it belongs to the start and stops nothing.
TEST_F(Controlled, ADoubleClickOnStartOnlyStarts) {
    engine.duringTransfer = [&] {
        engine.duringTransfer = nullptr;
        clock.now += 200;
        clock.place.x += 1;
        Click(IDC_BTN_STOP);
    };
    Click(IDC_BTN_START);
    Pump();
    EXPECT_EQ("다운로드 완료", Text(IDC_DOWN_STATUS));
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(window, IDC_BTN_STOP)) == FALSE);
}

// The window goes away during a transfer: the transfer stops, no end notice can come, and the
// controller is free again rather than busy for good.
TEST_F(Controlled, ATransferWhoseWindowWentAwayEndsAllTheSame) {
    engine.duringTransfer = [&] {
        engine.duringTransfer = nullptr;
        controller.Detach();
    };
    Click(IDC_BTN_START);
    Pump();
    EXPECT_FALSE(controller.downloading());
    EXPECT_FALSE(controller.timerRunning());
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
    WriteFile("setup.exe", 2500);
    owner.answers = {IDNO};
    Click(IDC_BTN_START);
    Pump();
    ASSERT_EQ(1u, owner.boxes.size());
    EXPECT_EQ("알림|파일이 존재합니다. 이어받으시겠습니까?|36", owner.boxes[0]);
    ExpectPanel(Take(), false, false, false, true, false, true, "", "answered no");
    EXPECT_TRUE(engine.requests.empty());

    owner.answers = {IDYES};
    ClickLater(IDC_BTN_START);
    Pump();
    EXPECT_EQ("다운로드 완료", Text(IDC_DOWN_STATUS));
    EXPECT_EQ(1u, engine.requests.size());
}

TEST_F(Controlled, AnEmptyFileStartsWithoutAsking) {
    WriteFile("setup.exe", 0);
    Click(IDC_BTN_START);
    Pump();
    EXPECT_TRUE(owner.boxes.empty());
    EXPECT_EQ("다운로드 완료", Text(IDC_DOWN_STATUS));
}

TEST_F(Controlled, AFailedTransferShowsItsErrorAndReturnsToIdle) {
    engine.failure = kv::Failure{kv::FailureKind::Engine, 10061, "refused"};
    Click(IDC_BTN_START);
    Pump();
    ExpectPanel(Take(), false, false, false, true, false, true, "refused(10061)", "failed");
    ASSERT_EQ(1u, owner.boxes.size());
    EXPECT_EQ("에러|refused(10061)|16", owner.boxes[0]);
    ASSERT_EQ(1u, owner.errors.size());
    EXPECT_EQ("10061 refused", owner.errors[0]);
}

TEST_F(Controlled, StartIsIgnoredWhileAStoppedTransferHasNotReturned) {
    engine.duringTransfer = [&] {
        ClickLater(IDC_BTN_STOP);
        ClickLater(IDC_BTN_START);  // start is shown again before the transfer returns
    };
    Click(IDC_BTN_START);
    Pump();
    EXPECT_EQ(1u, engine.requests.size());
    EXPECT_EQ("다운로드 중단", Text(IDC_DOWN_STATUS));
}

TEST_F(Controlled, OtherNotificationCodesAndStrayNotificationsChangeNothing) {
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_BTN_START, BN_DOUBLECLICKED), 0);
    EXPECT_FALSE(controller.downloading());
    // No transfer runs: an end notice belongs to no transfer of this job.
    controller.OnMessage(WM_DOWNLOAD_BEGIN, 0, 0);
    controller.OnMessage(WM_DOWNLOAD_DONE, 0, 0);
    EXPECT_EQ("", Text(IDC_DOWN_STATUS));
    EXPECT_FALSE(Enabled(IDC_BTN_RUN));
    // Before any job there is nothing to start.
    CDownloadController fresh{panel, owner, engine, clock};
    fresh.Attach(window);
    fresh.OnMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_START, BN_CLICKED), 0);
    EXPECT_TRUE(engine.requests.empty());
}

TEST_F(Controlled, TheTimerCountsAndElapsedTimeSurvivesAStopWithinTheJob) {
    for (int k = 0; k < 5; ++k) ::SendMessageA(window, WM_TIMER, 7, 0);
    EXPECT_EQ(" 0:00:05", Text(IDC_ELAPSED_TIME));
    engine.duringTransfer = [&] { engine.duringTransfer = nullptr; ClickLater(IDC_BTN_STOP); };
    Click(IDC_BTN_START);
    Pump();
    EXPECT_EQ(5u, controller.counters().elapsedSeconds);
}

TEST_F(Controlled, ChoosingAFolderShowsWhatLiesThere) {
    WriteFile("setup.exe", 5000);
    BeginJob("setup.exe", kv::RemoteSize{6000, std::nullopt});
    EXPECT_FALSE(Enabled(IDC_BTN_RUN));
    BeginJob("setup.exe", kv::RemoteSize{5000, std::nullopt});
    owner.folder = folder;
    Click(IDC_BTN_FOLDER);
    EXPECT_EQ(folder + "\\setup.exe", Text(IDC_DOWN_FOLDER));
    EXPECT_TRUE(Enabled(IDC_BTN_RUN));
    EXPECT_EQ("100%", Text(IDC_PERCENT));
    owner.folder.reset();
    Click(IDC_BTN_FOLDER);
    EXPECT_EQ(folder + "\\setup.exe", Text(IDC_DOWN_FOLDER));
}

// A failed size query leaves the size unknown: a large local file is not taken as complete,
// and the transfer asks the server instead of ending at once.
TEST_F(Controlled, AJobWhoseSizeQueryFailedTakesNoFileAsComplete) {
    WriteFile("other.exe", 300000);
    BeginJob("other.exe", kv::RemoteSize{0, kv::Failure{kv::FailureKind::Engine, 404, "Not Found"}});
    Pump();
    EXPECT_FALSE(Enabled(IDC_BTN_RUN));
    EXPECT_EQ("0%", Text(IDC_PERCENT));
    EXPECT_EQ("0 KB", Text(IDC_FILE_SIZE));
    ASSERT_EQ(1u, owner.boxes.size());
    EXPECT_EQ("에러|Not Found(404)|16", owner.boxes[0]);
    EXPECT_EQ("Not Found(404)", Text(IDC_DOWN_STATUS));

    engine.failure = kv::Failure{kv::FailureKind::Engine, 404, "Not Found"};
    ClickLater(IDC_BTN_START);
    ASSERT_EQ(1u, engine.requests.size());
    EXPECT_EQ(0, engine.requests[0].knownSize);
    EXPECT_NE("다운로드 완료", Text(IDC_DOWN_STATUS));
}

// Init prepares a new job while its transfers pump messages: the old target must not start,
// move or run meanwhile.
TEST_F(Controlled, StartFolderAndRunDoNothingWhileAJobIsPrepared) {
    owner.folder = "C:\\";
    controller.SetPreparing(true);
    Click(IDC_BTN_START);
    Click(IDC_BTN_FOLDER);
    Click(IDC_BTN_RUN);
    controller.SetPreparing(false);
    EXPECT_TRUE(engine.requests.empty());
    EXPECT_EQ(0, owner.folderDialogs);
    EXPECT_FALSE(controller.downloading());
}

// Nothing one job leaves behind reaches the next: the buttons, the elapsed time, the bytes
// that the speed counts, the refresh counter.
TEST_F(Controlled, ANewJobInheritsNothingFromTheLast) {
    Click(IDC_BTN_START);
    Pump();
    ExpectPanel(Take(), false, false, true, true, false, false, "다운로드 완료", "done");
    BeginJob("other.exe", kv::RemoteSize{8000, std::nullopt});
    ExpectPanel(Take(), false, false, false, true, false, true, "", "new job after done");
    EXPECT_EQ(0, controller.counters().transferBytes);

    for (int k = 0; k < 4; ++k) ::SendMessageA(window, WM_TIMER, 0, 0);
    engine.duringTransfer = [&] { engine.duringTransfer = nullptr; ClickLater(IDC_BTN_STOP); };
    ClickLater(IDC_BTN_START);
    Pump();
    EXPECT_EQ(4u, controller.counters().elapsedSeconds);
    BeginJob("other.exe", kv::RemoteSize{8000, std::nullopt});
    EXPECT_EQ(0u, controller.counters().elapsedSeconds);
    EXPECT_EQ(0u, controller.counters().refreshCounter);
    EXPECT_EQ("00:00:00", Text(IDC_ELAPSED_TIME));
}

// Each failure is shown in a box of its own with its own text, one box at a time; the status
// line shows only the failure of the job on screen.
TEST_F(Controlled, EachFailureShowsItsOwnBoxOneAtATime) {
    BeginJob("gone.exe", kv::RemoteSize{0, kv::Failure{kv::FailureKind::Engine, 404, "Not Found"}});
    BeginJob("setup.exe", kv::RemoteSize{5000, std::nullopt});
    Pump();
    ASSERT_EQ(1u, owner.boxes.size());
    EXPECT_EQ("에러|Not Found(404)|16", owner.boxes[0]);
    EXPECT_EQ("", Text(IDC_DOWN_STATUS));

    owner.boxes.clear();
    BeginJob("gone.exe", kv::RemoteSize{0, kv::Failure{kv::FailureKind::Engine, 404, "Not Found"}});
    BeginJob("far.exe", kv::RemoteSize{0, kv::Failure{kv::FailureKind::Engine, 10061, "refused"}});
    Pump();
    ASSERT_EQ(2u, owner.boxes.size());
    EXPECT_EQ("에러|Not Found(404)|16", owner.boxes[0]);
    EXPECT_EQ("에러|refused(10061)|16", owner.boxes[1]);
    EXPECT_EQ(1, owner.maxOpen);
    EXPECT_EQ("refused(10061)", Text(IDC_DOWN_STATUS));
}

// Done shows what came: a file that shrank on the server since its size was asked, and an
// empty file, are whole at 100 percent.
TEST_F(Controlled, DoneShowsWhatWasReceived) {
    BeginJob("setup.exe", kv::RemoteSize{1000000, std::nullopt});
    engine.blocks = {200000, 200000};
    Click(IDC_BTN_START);
    Pump();
    EXPECT_EQ("390 KB", Text(IDC_DOWN_SIZE));
    EXPECT_EQ("390 KB", Text(IDC_FILE_SIZE));
    EXPECT_EQ("100%", Text(IDC_PERCENT));

    BeginJob("other.exe", kv::RemoteSize{0, std::nullopt});
    engine.blocks = {};
    ClickLater(IDC_BTN_START);
    Pump();
    EXPECT_EQ("다운로드 완료", Text(IDC_DOWN_STATUS));
    EXPECT_EQ("100%", Text(IDC_PERCENT));
}

TEST(SameGesture, NeedsBothTheTimeAndThePlaceOfADoubleClick) {
    const kv::InputMoment first{1000, {50, 50}};
    const SIZE area{4, 4};
    EXPECT_TRUE(kv::IsSameGesture(first, {1500, {52, 48}}, 500, area));
    EXPECT_FALSE(kv::IsSameGesture(first, {1501, {50, 50}}, 500, area));
    EXPECT_FALSE(kv::IsSameGesture(first, {1100, {53, 50}}, 500, area));
    // A wrap of the tick counter between the presses.
    EXPECT_TRUE(kv::IsSameGesture({0xFFFFFF00u, {0, 0}}, {0x40, {0, 0}}, 500, area));
}

}  // namespace
