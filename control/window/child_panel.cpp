#include "control/window/child_panel.h"

#include "base/himetric.h"
#include "control/window/accessible_names.h"
#include "control/resource.h"

#include <commctrl.h>

#include <string_view>

namespace {

constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE;                  // 0x50000000
constexpr DWORD kFolderLabelStyle = WS_CHILD | WS_VISIBLE | SS_PATHELLIPSIS;  // 0x50008000
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE;                 // 0x50000000
constexpr DWORD kBarStyle = WS_CHILD | WS_VISIBLE | PBS_SMOOTH;       // 0x50000001

// The control a skin key places.
int ControlIdOf(kv::SkinItem item) {
    using kv::SkinItem;
    switch (item) {
    case SkinItem::ProgressBar: return IDC_PROGRESS;
    case SkinItem::PercentLabel: return IDC_PERCENT;
    case SkinItem::FileName: return IDC_FILE_NAME;
    case SkinItem::FileSize: return IDC_FILE_SIZE;
    case SkinItem::ElapsedTime: return IDC_ELAPSED_TIME;
    case SkinItem::DownSize: return IDC_DOWN_SIZE;
    case SkinItem::OddTime: return IDC_ODD_TIME;
    case SkinItem::DownSpeed: return IDC_DOWN_SPEED;
    case SkinItem::DownStatus: return IDC_DOWN_STATUS;
    case SkinItem::DownFolder: return IDC_DOWN_FOLDER;
    case SkinItem::FolderButton: return IDC_BTN_FOLDER;
    case SkinItem::RunButton: return IDC_BTN_RUN;
    case SkinItem::StartButton: return IDC_BTN_START;
    case SkinItem::StopButton: return IDC_BTN_STOP;
    case SkinItem::CloseButton: return IDC_BTN_CLOSE;
    }
    return 0;
}

}  // namespace

void CChildPanel::Create(HWND window) {
    window_ = window;
    keyboard_.Attach(window);
    ::SetWindowTextW(window, kv::kControlWindowName);
    const auto font = static_cast<WPARAM>(::SendMessageA(window, WM_GETFONT, 0, 0));
    for (int k = 0; k < kLabelCount; ++k) {
        const int id = IDC_FILE_NAME + k;
        HWND label = labels_[k].Create(id == IDC_DOWN_FOLDER ? kFolderLabelStyle : kLabelStyle, window, id);
        if (label) ::SendMessageA(label, WM_SETFONT, font, TRUE);
    }
    for (int k = 0; k < kButtonCount; ++k) buttons_[k].Create(kButtonStyle, window, IDC_BTN_RUN + k);
    bar_.Create(kBarStyle, window, IDC_PROGRESS);
    // What each child tells a screen reader; a button's name is its caption, kept hidden.
    for (int k = 0; k < kLabelCount; ++k) {
        labels_[k].SetAccessible({ROLE_SYSTEM_STATICTEXT, kv::AccessibleNameOf(IDC_FILE_NAME + k)});
    }
    for (int k = 0; k < kButtonCount; ++k) {
        buttons_[k].SetAccessible({ROLE_SYSTEM_PUSHBUTTON, L""});
        buttons_[k].SetHiddenCaption(kv::AccessibleNameOf(IDC_BTN_RUN + k));
        buttons_[k].keyHandler = [this](const MSG& key) { return TranslateKey(key); };
    }
    bar_.SetAccessible({ROLE_SYSTEM_PROGRESSBAR, kv::AccessibleNameOf(IDC_PROGRESS)});
    // The template's background picture was created first, which puts it above every
    // control created after it; it belongs beneath them all.
    if (HWND background = Child(IDC_BACKGROUND)) {
        ::SetWindowPos(background, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    Enable(IDC_BTN_RUN, false);
    Show(IDC_BTN_STOP, false);
}

HWND CChildPanel::Child(int id) const {
    // The panel's own children by their objects: under Wine GetDlgItem asks the window
    // system's server for the window's children every time, and the panel is asked for a
    // child at every text, place and state it sets.
    if (id >= IDC_FILE_NAME && id < IDC_FILE_NAME + kLabelCount) return labels_[id - IDC_FILE_NAME].handle();
    if (id >= IDC_BTN_RUN && id < IDC_BTN_RUN + kButtonCount) return buttons_[id - IDC_BTN_RUN].handle();
    if (id == IDC_PROGRESS) return bar_.handle();
    return window_ ? ::GetDlgItem(window_, id) : nullptr;
}

void CChildPanel::SetText(int id, const std::string& text) {
    HWND child = Child(id);
    if (!child) return;
    // A label has its area repainted whenever its text is set; the same text once more (a
    // new job's zeros, a pass that moved no figure) would only repeat that.
    char shown[MAX_PATH + 2] = {};
    const int length = ::GetWindowTextA(child, shown, sizeof shown);
    if (text.size() <= MAX_PATH && text == std::string_view(shown, static_cast<size_t>(length))) return;
    ::SetWindowTextA(child, text.c_str());
}

void CChildPanel::Show(int id, bool shown) {
    if (!shown) keyboard_.BeforeButtonGone(id);
    if (HWND child = Child(id)) ::ShowWindow(child, shown ? SW_SHOW : SW_HIDE);
}

void CChildPanel::Enable(int id, bool enabled) {
    if (!enabled) keyboard_.BeforeButtonGone(id);
    if (HWND child = Child(id)) ::EnableWindow(child, enabled ? TRUE : FALSE);
}

void CChildPanel::SetBarRange(int32_t lower, int32_t upper) { bar_.SetRange(lower, upper); }

void CChildPanel::SetBarPosition(int32_t position) { bar_.SetPosition(position); }

void CChildPanel::Move(kv::SkinItem item, const RECT& rect) {
    if (HWND child = Child(ControlIdOf(item))) {
        // A move repaints the child and what it uncovers at once; one already in place (the
        // same skin laid out again) is left alone.
        RECT now{};
        ::GetWindowRect(child, &now);
        ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&now), 2);
        if (::EqualRect(&now, &rect)) return;
        ::MoveWindow(child, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    }
}

kv::CxSkinButton* CChildPanel::Button(int id) {
    if (id < IDC_BTN_RUN || id > IDC_BTN_FOLDER) return nullptr;
    return &buttons_[static_cast<size_t>(id - IDC_BTN_RUN)];
}

void CChildPanel::SetBackground(kv::unique_hbitmap bitmap) {
    if (HWND picture = Child(IDC_BACKGROUND)) {
        ::SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get()));
    }
    // The old picture is released only once the control shows the new one.
    background_ = std::move(bitmap);
}

void CChildPanel::ClearBackground() {
    if (HWND picture = Child(IDC_BACKGROUND)) ::SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, 0);
    background_.reset();
}

int CChildPanel::Dpi() const { return kv::PixelsPerInchOfWindow(window_).x; }

SIZE CChildPanel::ClientSize() const {
    RECT client{};
    if (window_) ::GetClientRect(window_, &client);
    return {client.right - client.left, client.bottom - client.top};
}

bool CChildPanel::DrawItem(const DRAWITEMSTRUCT& item) {
    kv::CxSkinButton* button = Button(static_cast<int>(item.CtlID));
    if (!button) return false;
    button->PaintFace(item);
    return true;
}

bool CChildPanel::TranslateKey(const MSG& message) {
    const bool used = keyboard_.TranslateKey(message);
    // Once the keyboard is in use, the focused button shows where it is.
    if (keyboard_.keyboardUsed()) {
        for (kv::CxSkinButton& button : buttons_) button.ShowFocusCue(true, textColor_);
    }
    return used;
}
