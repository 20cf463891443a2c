#include "host/pointer_input.h"

#include "base/result.h"

namespace kv::host {
namespace {

POINT CentreOf(const RECT& rect) {
    return {rect.left + (rect.right - rect.left) / 2, rect.top + (rect.bottom - rect.top) / 2};
}

RECT VirtualScreen() {
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

HRESULT MovePointerTo(POINT point) {
    RETURN_IF_WIN32_BOOL_FALSE(::SetCursorPos(point.x, point.y));
    return S_OK;
}

HRESULT SendButton(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    RETURN_HR_IF(::kv::HresultFromLastError(), ::SendInput(1, &input, sizeof(INPUT)) != 1);
    return S_OK;
}

}  // namespace

HRESULT MovePointerOnto(HWND window) {
    RECT rect;
    RETURN_HR_IF(E_INVALIDARG, !::IsWindow(window));
    RETURN_IF_WIN32_BOOL_FALSE(::GetWindowRect(window, &rect));
    const POINT centre = CentreOf(rect);
    // A disabled window is passed over by the hit test, so compare top-level windows.
    const HWND under = ::WindowFromPoint(centre);
    RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_INVALID_WINDOW_HANDLE),
                 !under || ::GetAncestor(under, GA_ROOT) != ::GetAncestor(window, GA_ROOT));
    return MovePointerTo(centre);
}

HRESULT MovePointerOff(HWND window) {
    RECT rect;
    RETURN_HR_IF(E_INVALIDARG, !::IsWindow(window));
    RETURN_IF_WIN32_BOOL_FALSE(::GetWindowRect(window, &rect));
    const POINT centre = CentreOf(rect);
    const RECT screen = VirtualScreen();
    // Just beside the window, on whichever side the screen goes on.
    const POINT beside[] = {{rect.right + 1, centre.y}, {centre.x, rect.bottom + 1},
                            {rect.left - 2, centre.y}, {centre.x, rect.top - 2}};
    for (const POINT& point : beside) {
        if (::PtInRect(&screen, point)) return MovePointerTo(point);
    }
    return HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER);  // the window covers the whole screen
}

HRESULT ClickOn(HWND window) {
    RETURN_IF_FAILED(MovePointerOnto(window));
    INPUT press[2] = {};
    press[0].type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    press[1].type = INPUT_MOUSE;
    press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    RETURN_HR_IF(::kv::HresultFromLastError(), ::SendInput(2, press, sizeof(INPUT)) != 2);
    return S_OK;
}

HRESULT PressOn(HWND window) {
    RETURN_IF_FAILED(MovePointerOnto(window));
    return SendButton(MOUSEEVENTF_LEFTDOWN);
}

HRESULT ReleaseOff(HWND outside) {
    RETURN_IF_FAILED(MovePointerOff(outside));
    return SendButton(MOUSEEVENTF_LEFTUP);
}

}  // namespace kv::host
