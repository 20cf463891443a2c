// The skinned children as a screen reader finds them through the system's oleacc: names,
// roles, states, values, the events that announce changes, and the button's focus cue.
#include "skin/child_accessible.h"

#include "base/com_ptr.h"
#include "skin/color_progress_ctrl.h"
#include "skin/skin_button.h"
#include "skin/transparent_static.h"
#include "window_test_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr COLORREF kFace = RGB(200, 0, 0);
constexpr COLORREF kCue = RGB(31, 45, 61);

kv::ComPtr<IAccessible> AccessibleOf(HWND window) {
    kv::ComPtr<IAccessible> object;
    EXPECT_EQ(S_OK, ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                 object.put_void()));
    return object;
}

VARIANT Self() {
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

std::wstring Name(HWND window) {
    kv::UniqueBstr name;
    AccessibleOf(window)->get_accName(Self(), name.put());
    return name.str();
}

LONG Number(HWND window, bool role) {
    VARIANT value;
    ::VariantInit(&value);
    const auto object = AccessibleOf(window);
    EXPECT_EQ(S_OK, role ? object->get_accRole(Self(), &value) : object->get_accState(Self(), &value));
    EXPECT_EQ(VT_I4, value.vt);
    return value.lVal;
}

// The events of this process's windows, as an out-of-context hook sees them.
struct EventLog {
    static std::vector<std::pair<DWORD, HWND>>& Seen() {
        static std::vector<std::pair<DWORD, HWND>> seen;
        return seen;
    }
    static void CALLBACK Hook(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD) {
        if (object == OBJID_CLIENT) Seen().emplace_back(event, window);
    }
    explicit EventLog(DWORD event)
        : hook(::SetWinEventHook(event, event, nullptr, Hook, ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT)) {
        Seen().clear();
    }
    ~EventLog() { ::UnhookWinEvent(hook); }
    bool Saw(DWORD event, HWND window) {
        return PumpUntil([&] {
            for (const auto& seen : Seen()) {
                if (seen.first == event && seen.second == window) return true;
            }
            return false;
        });
    }
    HWINEVENTHOOK hook;
};

class AccessibleButton : public testing::Test {
protected:
    void SetUp() override {
        PointAway();
        parent.button = &button;
        ASSERT_NE(button.Create(WS_CHILD | WS_VISIBLE, parent.handle(), 218), nullptr);
        ::MoveWindow(button.handle(), 20, 30, 60, 24, TRUE);
        button.AssignPictures(SolidBitmap(60, 24, kFace), {}, {}, {});
        button.SetAccessible({ROLE_SYSTEM_PUSHBUTTON, L""});
        button.SetHiddenCaption(L"시작");
    }
    Pixels Face() {
        ::InvalidateRect(button.handle(), nullptr, TRUE);
        PumpMessages();
        return ReadScreenPixels(button.handle());
    }

    OleScope ole;
    TestParent parent;
    kv::CxSkinButton button;
};

}  // namespace

TEST_F(AccessibleButton, NameRoleAndStateFollowTheWindow) {
    EXPECT_EQ(L"시작", Name(button.handle()));
    EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, Number(button.handle(), true));
    EXPECT_EQ(STATE_SYSTEM_FOCUSABLE, Number(button.handle(), false));
    ::SetFocus(button.handle());
    EXPECT_EQ(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED, Number(button.handle(), false));
    ::EnableWindow(button.handle(), FALSE);
    EXPECT_TRUE(Number(button.handle(), false) & STATE_SYSTEM_UNAVAILABLE);
    ::EnableWindow(button.handle(), TRUE);
    ::ShowWindow(button.handle(), SW_HIDE);
    EXPECT_EQ(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_INVISIBLE, Number(button.handle(), false));
}

TEST_F(AccessibleButton, DefaultActionPressesAnEnabledButtonOnly) {
    const auto object = AccessibleOf(button.handle());
    kv::UniqueBstr action;
    EXPECT_EQ(S_OK, object->get_accDefaultAction(Self(), action.put()));
    EXPECT_FALSE(action.str().empty());
    EXPECT_EQ(S_OK, object->accDoDefaultAction(Self()));
    EXPECT_TRUE(PumpUntil([&] { return parent.clicks == 1; }));
    ::EnableWindow(button.handle(), FALSE);
    EXPECT_NE(S_OK, object->accDoDefaultAction(Self()));
    PumpMessages();
    EXPECT_EQ(1, parent.clicks);
}

TEST_F(AccessibleButton, CaptionStaysHiddenAndTheCueShowsOnlyWhenAsked) {
    ::SetFocus(button.handle());
    const auto plain = [](const Pixels& face) {
        for (COLORREF color : face.colors) {
            if (color != kFace) return false;
        }
        return true;
    };
    EXPECT_TRUE(plain(Face()));
    button.ShowFocusCue(true, kCue);
    const Pixels cued = Face();
    // Dots every other pixel along a rectangle 3 pixels inside the edge.
    EXPECT_EQ(kCue, cued.at(3, 3));
    EXPECT_EQ(kFace, cued.at(4, 3));
    EXPECT_EQ(kCue, cued.at(5, 3));
    EXPECT_EQ(kFace, cued.at(2, 3));
    EXPECT_EQ(kFace, cued.at(30, 12));
    ::SetFocus(parent.handle());
    EXPECT_TRUE(plain(Face()));
}

TEST(AccessibleLabel, NameSaysWhatItIsAndAnnouncesItsText) {
    OleScope ole;
    TestParent parent;
    kv::CTransparentStatic label;
    ASSERT_NE(label.Create(WS_CHILD | WS_VISIBLE, parent.handle(), 211), nullptr);
    label.SetAccessible({ROLE_SYSTEM_STATICTEXT, L"받은 크기"});
    EXPECT_EQ(L"받은 크기", Name(label.handle()));
    EventLog events(EVENT_OBJECT_NAMECHANGE);
    ::SetWindowTextW(label.handle(), L"292 KB");
    EXPECT_TRUE(events.Saw(EVENT_OBJECT_NAMECHANGE, label.handle()));
    EXPECT_EQ(L"받은 크기 292 KB", Name(label.handle()));
    EXPECT_EQ(ROLE_SYSTEM_STATICTEXT, Number(label.handle(), true));
}

TEST(AccessibleProgress, ValueIsThePercentageAndAnnouncesChanges) {
    OleScope ole;
    TestParent parent;
    kv::CColorProgressCtrl bar;
    ASSERT_NE(bar.Create(WS_CHILD | WS_VISIBLE | PBS_SMOOTH, parent.handle(), 207), nullptr);
    ::SendMessageA(bar.handle(), PBM_SETRANGE32, 0, 100);
    bar.SetAccessible({ROLE_SYSTEM_PROGRESSBAR, L""});
    EventLog events(EVENT_OBJECT_VALUECHANGE);
    bar.SetPosition(50);
    EXPECT_TRUE(events.Saw(EVENT_OBJECT_VALUECHANGE, bar.handle()));
    kv::UniqueBstr value;
    EXPECT_EQ(S_OK, AccessibleOf(bar.handle())->get_accValue(Self(), value.put()));
    EXPECT_EQ(L"50%", value.str());
    EXPECT_EQ(ROLE_SYSTEM_PROGRESSBAR, Number(bar.handle(), true));
    // The same position again is no change.
    EventLog again(EVENT_OBJECT_VALUECHANGE);
    bar.SetPosition(50);
    PumpMessages();
    EXPECT_TRUE(EventLog::Seen().empty());
}
