#include "skin/skin_button.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

namespace kv {
namespace {

// How far inside the button's edge the focus cue runs.
constexpr int kFocusCueInset = 3;

void FillFace(HDC target, const RECT& area) {
    ::FillRect(target, &area, ::GetSysColorBrush(COLOR_BTNFACE));
}

std::string WindowText(HWND window) {
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

CxSkinButton::CxSkinButton() : captionColor(::GetSysColor(COLOR_BTNTEXT)) {}

void CxSkinButton::AssignPictures(unique_hbitmap normal, unique_hbitmap pressed,
                                  unique_hbitmap over, unique_hbitmap disabled) {
    normalPicture_ = std::move(normal);
    pressedPicture_ = std::move(pressed);
    overPicture_ = std::move(over);
    disabledPicture_ = std::move(disabled);
}

void CxSkinButton::OnAttach() {
    const LONG_PTR style = ::GetWindowLongPtrA(handle(), GWL_STYLE);
    ::SetWindowLongPtrA(handle(), GWL_STYLE, style | BS_OWNERDRAW);
}

bool CxSkinButton::IsPushed() const {
    return (::SendMessageA(handle(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

LRESULT CxSkinButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // the face covers the whole button
    case WM_MOUSEMOVE:
        OnMouseMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return DefaultProc(message, wParam, lParam);
    case WM_MOUSELEAVE:
        mouseOver = false;
        ::InvalidateRect(handle(), nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN: {
        OnLeftButtonDown();
        const LRESULT result = DefaultProc(message, wParam, lParam);
        buttonDown = true;
        return result;
    }
    case WM_LBUTTONUP:
        buttonDown = false;
        return DefaultProc(message, wParam, lParam);
    case WM_LBUTTONDBLCLK:
        // The second press of a double-click is a press of its own: two clicks, two commands.
        ::SendMessageA(handle(), WM_LBUTTONDOWN, wParam, lParam);
        return 0;
    case WM_KEYDOWN: {
        const MSG key = {handle(), message, wParam, lParam};
        if (keyHandler && keyHandler(key)) return 0;
        return DefaultProc(message, wParam, lParam);
    }
    case WM_KILLFOCUS:
        if (::GetCapture() == handle()) {
            ::ReleaseCapture();
            buttonDown = false;
        }
        return DefaultProc(message, wParam, lParam);
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

void CxSkinButton::OnMouseMove(POINT position) {
    if (buttonDown && ::GetCapture() == handle()) {
        // Dragging off a held button releases its pressed look, dragging back restores it.
        ::ClientToScreen(handle(), &position);
        const bool overThis = ::WindowFromPoint(position) == handle();
        if (IsPushed() != overThis) {
            ::SendMessageA(handle(), BM_SETSTATE, overThis, 0);
            ::InvalidateRect(handle(), nullptr, TRUE);
        }
    } else if (!mouseOver) {
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, handle(), 0};
        if (::TrackMouseEvent(&track)) {
            mouseOver = true;
            ::InvalidateRect(handle(), nullptr, TRUE);
        }
    }
}

void CxSkinButton::OnLeftButtonDown() {
    if (!mouseOver) return;
    TRACKMOUSEEVENT track = {sizeof track, TME_CANCEL | TME_LEAVE, handle(), 0};
    if (::TrackMouseEvent(&track)) mouseOver = false;
}

void CxSkinButton::PaintFace(const DRAWITEMSTRUCT& item) {
    // The pushed look follows the cursor while the button is held; changing it makes the
    // system ask for another paint, which draws the matching face.
    POINT cursor;
    if (buttonDown && ::GetCapture() == handle() && ::GetCursorPos(&cursor)) {
        const bool overThis = ::WindowFromPoint(cursor) == handle();
        if (overThis != IsPushed()) {
            ::SendMessageA(handle(), BM_SETSTATE, overThis, 0);
            return;
        }
    }

    const HDC target = item.hDC;
    const RECT& area = item.rcItem;
    const std::string caption = captionShown_ ? WindowText(handle()) : std::string();
    RECT captionArea = area;
    ::InflateRect(&captionArea, -2, 0);
    ::SetBkMode(target, TRANSPARENT);

    if (item.itemState & ODS_DISABLED) {
        DrawPicture(target, area, disabledPicture_ ? disabledPicture_.get() : normalPicture_.get());
        DrawCaption(target, captionArea, caption.c_str(), ::GetSysColor(COLOR_3DHILIGHT));
        ::OffsetRect(&captionArea, -1, -1);
        DrawCaption(target, captionArea, caption.c_str(), ::GetSysColor(COLOR_GRAYTEXT));
        return;
    }
    if (item.itemState & ODS_SELECTED) {
        DrawPicture(target, area, pressedPicture_.get());
        ::OffsetRect(&captionArea, 1, 1);
    } else if (mouseOver && normalPicture_ && overPicture_) {
        DrawPicture(target, area, overPicture_.get());
    } else {
        DrawPicture(target, area, normalPicture_.get());
    }
    DrawCaption(target, captionArea, caption.c_str(), captionColor);
    if (focusCueShown_ && (item.itemState & ODS_FOCUS)) DrawFocusCue(target, area, kFocusCueInset, focusCueColor_);
}

void CxSkinButton::SetHiddenCaption(const wchar_t* caption) {
    captionShown_ = false;
    ::SetWindowTextW(handle(), caption);
}

void CxSkinButton::ShowFocusCue(bool shown, COLORREF color) {
    if (focusCueShown_ == shown && focusCueColor_ == color) return;
    focusCueShown_ = shown;
    focusCueColor_ = color;
    if (::GetFocus() == handle()) ::InvalidateRect(handle(), nullptr, TRUE);
}

bool PressButton(HWND button) {
    if (!::IsWindowVisible(button) || !::IsWindowEnabled(button)) return false;
    const int id = ::GetDlgCtrlID(button);
    return ::PostMessageA(::GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                          reinterpret_cast<LPARAM>(button)) != FALSE;
}

void DrawFocusCue(HDC target, const RECT& area, int inset, COLORREF color) {
    RECT box = area;
    ::InflateRect(&box, -inset, -inset);
    if (box.right - box.left < 2 || box.bottom - box.top < 2) return;
    // Walked once round the edge, clockwise from the top-left corner, so that the dots keep
    // their rhythm round the corners.
    int step = 0;
    const auto dot = [&](int x, int y) {
        if (step++ % 2 == 0) ::SetPixelV(target, x, y, color);
    };
    for (int x = box.left; x < box.right - 1; ++x) dot(x, box.top);
    for (int y = box.top; y < box.bottom - 1; ++y) dot(box.right - 1, y);
    for (int x = box.right - 1; x > box.left; --x) dot(x, box.bottom - 1);
    for (int y = box.bottom - 1; y > box.top; --y) dot(box.left, y);
}

void CxSkinButton::DrawPicture(HDC target, const RECT& area, HBITMAP picture) const {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    BITMAP info = {};
    if (!picture || !::GetObjectA(picture, sizeof info, &info)) {
        FillFace(target, area);
        return;
    }
    // Around a picture smaller than the button the face is the system's button face: a copy
    // from beyond a bitmap's edge has no pixels of its own.
    if (info.bmWidth < width || info.bmHeight < height) FillFace(target, area);
    const unique_hdc source(::CreateCompatibleDC(target));
    const unique_select_object selected(source.get(), picture);
    if (!selected) return;
    ::BitBlt(target, area.left, area.top, std::min<int>(width, info.bmWidth),
             std::min<int>(height, info.bmHeight), source.get(), 0, 0, SRCCOPY);
}

void CxSkinButton::DrawCaption(HDC target, const RECT& area, const char* caption,
                               COLORREF color) const {
    if (!*caption) return;
    ::SetTextColor(target, color);
    RECT box = area;
    ::DrawTextA(target, caption, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace kv
