#include "host/host_window.h"

#include "base/result.h"

namespace kv::host {
namespace {

constexpr wchar_t kClassName[] = L"KorvendalHostWindow";
constexpr UINT_PTR kTimeoutTimer = 1;
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

}  // namespace

HostWindow::~HostWindow() {
    if (window_) ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

HRESULT HostWindow::Create(const std::wstring& title, Events events) {
    events_ = std::move(events);
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass = {sizeof(windowClass)};
    if (!::GetClassInfoExW(instance, kClassName, &windowClass)) {
        windowClass = {sizeof(windowClass)};
        windowClass.lpfnWndProc = &HostWindow::WindowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kClassName;
        RETURN_IF_WIN32_BOOL_FALSE(::RegisterClassExW(&windowClass));
    }
    window_.reset(::CreateWindowExW(0, kClassName, title.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 400, 300,
                                    nullptr, nullptr, instance, nullptr));
    RETURN_LAST_ERROR_IF_NULL(window_.get());
    ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return S_OK;
}

void HostWindow::Show(SIZE size) {
    RECT frame = {0, 0, size.cx, size.cy};
    ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    ::SetWindowPos(window_.get(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(window_.get(), SW_SHOW);
    ::UpdateWindow(window_.get());
}

void HostWindow::StartTimeout(unsigned seconds) {
    ::SetTimer(window_.get(), kTimeoutTimer, seconds * 1000u, nullptr);
}

void HostWindow::Wake() const {
    if (window_) ::PostMessageW(window_.get(), WM_NULL, 0, 0);
}

LRESULT CALLBACK HostWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<HostWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_TIMER:
        if (self && wParam == kTimeoutTimer) {
            ::KillTimer(window, kTimeoutTimer);
            if (self->events_.timedOut) self->events_.timedOut();
            return 0;
        }
        if (self && self->events_.timer) {
            self->events_.timer(wParam);
            return 0;
        }
        break;
    case WM_CLOSE:
        if (self && self->events_.closeRequested) self->events_.closeRequested();
        return 0;
    case WM_DESTROY:
        if (self) {
            // Destroyed from outside: the owner must not destroy it a second time.
            (void)self->window_.release();
            if (self->events_.closeRequested) self->events_.closeRequested();
        }
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace kv::host
