// One small owner template for every handle kind, and the aliases the project uses.
// Each policy names the close function and the value that means "empty".
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <objbase.h>

#include <utility>

namespace kv {

template <typename Policy>
class UniqueResource {
public:
    using Handle = typename Policy::Handle;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Handle handle) noexcept : handle_(handle) {}
    UniqueResource(UniqueResource&& other) noexcept : handle_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { reset(); }

    [[nodiscard]] Handle get() const noexcept { return handle_; }
    [[nodiscard]] bool valid() const noexcept { return handle_ != Policy::invalid(); }
    explicit operator bool() const noexcept { return valid(); }

    [[nodiscard]] Handle release() noexcept { return std::exchange(handle_, Policy::invalid()); }
    void reset(Handle handle = Policy::invalid()) noexcept {
        Handle old = std::exchange(handle_, handle);
        if (old != Policy::invalid()) Policy::close(old);
    }
    // For APIs that fill a handle through an out-parameter.
    Handle* put() noexcept {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = Policy::invalid();
};

namespace policy {
struct File {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) noexcept { ::CloseHandle(h); }
};
struct Kernel {  // handles whose empty value is null (events, processes, threads)
    using Handle = HANDLE;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { ::CloseHandle(h); }
};
struct Find {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) noexcept { ::FindClose(h); }
};
struct Socket {
    using Handle = SOCKET;
    static Handle invalid() noexcept { return INVALID_SOCKET; }
    static void close(Handle h) noexcept { ::closesocket(h); }
};
struct RegKey {
    using Handle = HKEY;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { ::RegCloseKey(h); }
};
struct GdiObject {
    using Handle = HGDIOBJ;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { ::DeleteObject(h); }
};
struct MemoryDc {
    using Handle = HDC;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { ::DeleteDC(h); }
};
template <typename H>
struct Gdi {  // bitmaps, brushes and the other objects DeleteObject releases
    using Handle = H;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { ::DeleteObject(h); }
};
struct CoTaskMemory {  // blocks the shell and COM hand out, such as item ID lists
    using Handle = void*;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { ::CoTaskMemFree(h); }
};
struct Window {
    using Handle = HWND;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { ::DestroyWindow(h); }
};
struct Module {
    using Handle = HMODULE;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { ::FreeLibrary(h); }
};
struct LocalMemory {
    using Handle = HLOCAL;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { ::LocalFree(h); }
};
struct Hook {
    using Handle = HHOOK;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { ::UnhookWindowsHookEx(h); }
};
}  // namespace policy

using unique_hfile = UniqueResource<policy::File>;
using unique_handle = UniqueResource<policy::Kernel>;
using unique_hfind = UniqueResource<policy::Find>;
using unique_socket = UniqueResource<policy::Socket>;
using unique_hkey = UniqueResource<policy::RegKey>;
using unique_gdiobj = UniqueResource<policy::GdiObject>;
using unique_hbitmap = UniqueResource<policy::Gdi<HBITMAP>>;
using unique_hbrush = UniqueResource<policy::Gdi<HBRUSH>>;
using unique_cotaskmem = UniqueResource<policy::CoTaskMemory>;
using unique_hdc = UniqueResource<policy::MemoryDc>;
using unique_hwnd = UniqueResource<policy::Window>;
using unique_hmodule = UniqueResource<policy::Module>;
using unique_hlocal = UniqueResource<policy::LocalMemory>;
using unique_hhook = UniqueResource<policy::Hook>;

// A window DC, given back with ReleaseDC to the window it came from.
class unique_hdc_window {
public:
    unique_hdc_window() noexcept = default;
    unique_hdc_window(HWND window, HDC dc) noexcept : window_(window), dc_(dc) {}
    unique_hdc_window(unique_hdc_window&& o) noexcept
        : window_(std::exchange(o.window_, nullptr)), dc_(std::exchange(o.dc_, nullptr)) {}
    unique_hdc_window& operator=(unique_hdc_window&& o) noexcept {
        if (this != &o) {
            reset();
            window_ = std::exchange(o.window_, nullptr);
            dc_ = std::exchange(o.dc_, nullptr);
        }
        return *this;
    }
    ~unique_hdc_window() { reset(); }
    static unique_hdc_window get(HWND window) noexcept { return {window, ::GetDC(window)}; }
    [[nodiscard]] HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }
    void reset() noexcept {
        if (dc_) ::ReleaseDC(window_, dc_);
        dc_ = nullptr;
        window_ = nullptr;
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// The DC of one WM_PAINT: BeginPaint on creation, EndPaint on destruction.
class unique_hdc_paint {
public:
    explicit unique_hdc_paint(HWND window) noexcept : window_(window) {
        dc_ = ::BeginPaint(window, &paint_);
    }
    unique_hdc_paint(const unique_hdc_paint&) = delete;
    unique_hdc_paint& operator=(const unique_hdc_paint&) = delete;
    ~unique_hdc_paint() {
        if (dc_) ::EndPaint(window_, &paint_);
    }
    [[nodiscard]] HDC get() const noexcept { return dc_; }
    [[nodiscard]] const PAINTSTRUCT& paint() const noexcept { return paint_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// An object selected into a DC; the previous object is put back on destruction.
class unique_select_object {
public:
    unique_select_object(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(object ? ::SelectObject(dc, object) : nullptr) {}
    unique_select_object(const unique_select_object&) = delete;
    unique_select_object& operator=(const unique_select_object&) = delete;
    ~unique_select_object() {
        if (previous_) ::SelectObject(dc_, previous_);
    }
    // False when the object could not be selected (SelectObject failed).
    explicit operator bool() const noexcept { return previous_ != nullptr; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace kv
