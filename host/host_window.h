// The host's top-level window: the frame the page's controls live in. It tells its owner
// when the user asks to close it, when the page's time is up and when a timer of the
// page's is due; the owner closes the controls first and destroys the window last.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "base/unique_resource.h"

namespace kv::host {

class HostWindow {
public:
    struct Events {
        std::function<void()> closeRequested;
        std::function<void()> timedOut;
        std::function<void(UINT_PTR timerId)> timer;  // any timer but the page's time-out
    };

    HostWindow() = default;
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    ~HostWindow();

    HRESULT Create(const std::wstring& title, Events events);
    HWND Handle() const { return window_.get(); }
    // Makes the client area `size` pixels large and shows the window.
    void Show(SIZE size);
    void StartTimeout(unsigned seconds);
    // Wakes a thread waiting in GetMessage so that it sees a changed flag.
    void Wake() const;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    unique_hwnd window_;
    Events events_;
};

}  // namespace kv::host
