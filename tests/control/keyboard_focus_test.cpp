// The control window's children from the keyboard and from a screen reader: the panel of
// children in a plain window that passes the window's focus messages on, as the control
// window does, and names read through the system's oleacc.
#include "control/window/child_panel.h"

#include "base/com_ptr.h"
#include "control/window/keyboard_focus.h"
#include "control/resource.h"

#include <oleacc.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr wchar_t kClassName[] = L"KorvendalKeyboardTestWindow";

// A top-level window holding the panel; its focus messages reach the panel first.
class PanelWindow {
public:
    PanelWindow() {
        ::OleInitialize(nullptr);
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = Proc;
        windowClass.lpszClassName = kClassName;
        ::RegisterClassW(&windowClass);  // the second time fails harmlessly
        window_ = ::CreateWindowExW(0, kClassName, L"", WS_POPUP, 100, 100, 400, 320, nullptr,
                                    nullptr, nullptr, this);
        panel.Create(window_);
        // The default skin's places: folder, run, start and stop in one place, close.
        Place(IDC_BTN_FOLDER, 22);
        Place(IDC_BTN_RUN, 108);
        Place(IDC_BTN_START, 194);
        Place(IDC_BTN_STOP, 194);
        Place(IDC_BTN_CLOSE, 280);
        // Activation gives the window the focus, which it passes on.
        ::ShowWindow(window_, SW_SHOW);
        ::SetForegroundWindow(window_);
    }
    ~PanelWindow() {
        ::DestroyWindow(window_);
        ::OleUninitialize();
    }
    HWND handle() const { return window_; }
    HWND Child(int id) const { return ::GetDlgItem(window_, id); }
    int Focused() const { return ::GetDlgCtrlID(::GetFocus()); }
    bool Key(WPARAM key) {
        MSG message = {::GetFocus(), WM_KEYDOWN, key, 0};
        return panel.TranslateKey(message);
    }
    void Place(int id, int left) { ::MoveWindow(Child(id), left, 268, 80, 24, TRUE); }
    static void Pump() {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    }

    CChildPanel panel;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<PanelWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && self->panel.OnFocusMessage(message)) return 0;
        if (self && message == WM_DRAWITEM) return self->panel.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    HWND window_ = nullptr;
};

std::wstring AccessibleName(HWND window) {
    kv::ComPtr<IAccessible> object;
    EXPECT_EQ(S_OK, ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                 object.put_void()));
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    kv::UniqueBstr name;
    if (object) object->get_accName(self, name.put());
    return name.str();
}

}  // namespace

TEST(ReadingOrder, RowsTopToBottomEachLeftToRight) {
    const std::vector<RECT> places = {{300, 10, 0, 0}, {20, 40, 0, 0}, {10, 10, 0, 0}, {10, 10, 0, 0}};
    EXPECT_EQ((std::vector<size_t>{2, 3, 0, 1}), kv::ReadingOrder(places));
}

TEST(ChildPanel, EveryChildHasItsNameForAScreenReader) {
    PanelWindow window;
    const wchar_t* names[] = {L"파일 이름", L"파일 크기", L"경과 시간", L"받은 크기", L"남은 시간",
                              L"전송 속도", L"진행률", L"상태",      L"저장 위치"};
    for (int k = 0; k < 9; ++k) EXPECT_EQ(names[k], AccessibleName(window.Child(IDC_FILE_NAME + k)));
    window.panel.SetText(IDC_DOWN_SIZE, "292 KB");
    EXPECT_EQ(L"받은 크기 292 KB", AccessibleName(window.Child(IDC_DOWN_SIZE)));
    const wchar_t* buttons[] = {L"실행", L"시작", L"중지", L"닫기", L"폴더"};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(buttons[k], AccessibleName(window.Child(IDC_BTN_RUN + k)));
}

TEST(ChildPanel, TabVisitsEnabledVisibleButtonsInReadingOrder) {
    PanelWindow window;
    // The window passed its focus on; run is disabled and stop hidden at first.
    EXPECT_EQ(IDC_BTN_FOLDER, window.Focused());
    EXPECT_TRUE(window.Key(VK_TAB));
    EXPECT_EQ(IDC_BTN_START, window.Focused());
    EXPECT_TRUE(window.Key(VK_TAB));
    EXPECT_EQ(IDC_BTN_CLOSE, window.Focused());
    // Past the last button the key is the container's.
    EXPECT_FALSE(window.Key(VK_TAB));
    EXPECT_EQ(IDC_BTN_CLOSE, window.Focused());

    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    ::SetKeyboardState(keys);
    EXPECT_TRUE(window.Key(VK_TAB));
    EXPECT_EQ(IDC_BTN_START, window.Focused());
    // Moved before the others, close comes first.
    window.Place(IDC_BTN_CLOSE, 2);
    EXPECT_TRUE(window.Key(VK_TAB));
    EXPECT_EQ(IDC_BTN_FOLDER, window.Focused());
    EXPECT_TRUE(window.Key(VK_TAB));
    EXPECT_EQ(IDC_BTN_CLOSE, window.Focused());
    EXPECT_FALSE(window.Key(VK_TAB));
    keys[VK_SHIFT] = 0;
    ::SetKeyboardState(keys);
    // A key sent to the button itself, as a message pump without the accelerator path does.
    ::SendMessageW(window.Child(IDC_BTN_CLOSE), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(IDC_BTN_FOLDER, window.Focused());
}

TEST(ChildPanel, FocusCueAppearsOnceAKeyIsUsed) {
    constexpr COLORREF kLabelColour = RGB(31, 45, 61);
    PanelWindow window;
    window.panel.SetTextColor(kLabelColour);
    const HWND folder = window.Child(IDC_BTN_FOLDER);
    ASSERT_EQ(folder, ::GetFocus());
    const auto cornerOfCue = [folder] {
        ::InvalidateRect(folder, nullptr, TRUE);
        ::UpdateWindow(folder);
        const HDC dc = ::GetDC(folder);
        const COLORREF colour = ::GetPixel(dc, 3, 3);
        ::ReleaseDC(folder, dc);
        return colour;
    };
    EXPECT_NE(kLabelColour, cornerOfCue());
    // Any key counts, also one the control leaves alone.
    EXPECT_FALSE(window.Key(VK_ESCAPE));
    EXPECT_EQ(kLabelColour, cornerOfCue());
}

TEST(ChildPanel, FocusMovesOnFromAButtonThatGoes) {
    PanelWindow window;
    ::SetFocus(window.Child(IDC_BTN_START));
    // Start gives way to stop in the same place, as the controller does on a start.
    window.panel.Enable(IDC_BTN_FOLDER, false);
    window.panel.Show(IDC_BTN_START, false);
    window.panel.Show(IDC_BTN_STOP, true);
    window.Pump();
    EXPECT_EQ(IDC_BTN_STOP, window.Focused());
    // The folder button disabled while it holds the focus: the next one in reading order.
    window.panel.Enable(IDC_BTN_FOLDER, true);
    ::SetFocus(window.Child(IDC_BTN_FOLDER));
    window.panel.Enable(IDC_BTN_FOLDER, false);
    window.Pump();
    EXPECT_EQ(IDC_BTN_STOP, window.Focused());
}
