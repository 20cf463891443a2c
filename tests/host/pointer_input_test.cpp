// Clicks and pointer moves through the system's input queue, on real windows of a
// top-most window of this test: a user's click reaches an enabled button only, and a
// window that tracks the pointer sees it come and go; a held button looks pressed.
#include "host/pointer_input.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "base/unique_resource.h"

namespace kv::host {
namespace {

constexpr int kEnabledId = 1;
constexpr int kDisabledId = 2;

std::map<int, int> gClicks;  // control id -> BN_CLICKED seen
bool gEntered = false;
bool gLeft = false;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) ++gClicks[LOWORD(wParam)];
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// Tracks the pointer the way a skinned button does.
LRESULT CALLBACK TrackerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEMOVE && !gEntered) {
        gEntered = true;
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, window, 0};
        ::TrackMouseEvent(&track);
    } else if (message == WM_MOUSELEAVE) {
        gLeft = true;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND Make(const wchar_t* className, DWORD style, int x, int y, HWND parent, int id) {
    return ::CreateWindowExW(parent ? 0 : WS_EX_TOPMOST, className, L"", style, x, y, 80, 40, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
}

class PointerInput : public ::testing::Test {
protected:
    void SetUp() override {
        gClicks.clear();
        gEntered = gLeft = false;
        WNDCLASSW parentClass = {};
        parentClass.lpfnWndProc = ParentProc;
        parentClass.lpszClassName = L"KvPointerParent";
        ::RegisterClassW(&parentClass);
        WNDCLASSW trackerClass = {};
        trackerClass.lpfnWndProc = TrackerProc;
        trackerClass.lpszClassName = L"KvPointerTracker";
        ::RegisterClassW(&trackerClass);
        parent_.reset(::CreateWindowExW(WS_EX_TOPMOST, L"KvPointerParent", L"pointer", WS_POPUP | WS_VISIBLE, 60, 60,
                                        300, 60, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
        ASSERT_TRUE(parent_);
        enabled_ = Make(L"BUTTON", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, parent_.get(), kEnabledId);
        disabled_ = Make(L"BUTTON", WS_CHILD | WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON, 100, 0, parent_.get(), kDisabledId);
        tracker_ = Make(L"KvPointerTracker", WS_CHILD | WS_VISIBLE, 200, 0, parent_.get(), 3);
        ASSERT_TRUE(enabled_ && disabled_ && tracker_);
    }

    // Dispatches this thread's messages until `done`, for ten seconds at most.
    static bool PumpUntil(const std::function<bool()>& done) {
        for (int k = 0; k < 500 && !done(); ++k) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        }
        return done();
    }

    unique_hwnd parent_;
    HWND enabled_ = nullptr;
    HWND disabled_ = nullptr;
    HWND tracker_ = nullptr;
};

TEST_F(PointerInput, ClickReachesAnEnabledButtonOnly) {
    ASSERT_EQ(S_OK, ClickOn(disabled_));
    ASSERT_EQ(S_OK, ClickOn(enabled_));
    // Input is handled in order: once the second click is in, the first has been seen.
    EXPECT_TRUE(PumpUntil([] { return gClicks[kEnabledId] > 0; }));
    EXPECT_EQ(1, gClicks[kEnabledId]);
    EXPECT_EQ(0, gClicks[kDisabledId]);
}

TEST_F(PointerInput, HeldButtonLooksPressedAndLetGoOutsideGivesNoClick) {
    const auto pushed = [this] { return (::SendMessageW(enabled_, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; };
    ASSERT_EQ(S_OK, PressOn(enabled_));
    EXPECT_TRUE(PumpUntil(pushed));
    ASSERT_EQ(S_OK, ReleaseOff(parent_.get()));
    EXPECT_TRUE(PumpUntil([&] { return !pushed(); }));
    EXPECT_EQ(0, gClicks[kEnabledId]);
}

TEST_F(PointerInput, WindowUnderThePointerSeesItComeAndGo) {
    ASSERT_EQ(S_OK, MovePointerOnto(tracker_));
    EXPECT_TRUE(PumpUntil([] { return gEntered; }));
    ASSERT_EQ(S_OK, MovePointerOff(parent_.get()));
    EXPECT_TRUE(PumpUntil([] { return gLeft; }));
}

TEST_F(PointerInput, NothingHappensWhereAnotherWindowLiesOver) {
    unique_hwnd cover(::CreateWindowExW(WS_EX_TOPMOST, L"KvPointerParent", L"cover", WS_POPUP | WS_VISIBLE, 40, 40,
                                        400, 100, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(cover);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE), ClickOn(enabled_));
}

}  // namespace
}  // namespace kv::host
