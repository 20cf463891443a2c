// The host's command line:
// korvendal-host.exe PAGE [--headless [--answer VALUE]...] [--timeout SECONDS] [--url URL].
#pragma once

#include <string>
#include <vector>

namespace kv::host {

struct HostOptions {
    std::wstring page;
    bool headless = false;        // alert() prints a line instead of showing a message box
    unsigned timeoutSeconds = 0;  // 0: run until the page closes the window
    // Headless only: the replies to the dialogs that appear, in the order they appear
    // ("yes", "no", "ok", "cancel" for a message box; a folder or "cancel" for a folder
    // dialog).
    std::vector<std::wstring> answers;
    // The address the page answers its controls with, as if it had been loaded from there;
    // empty: its file:/// address on disk.
    std::wstring url;
};

// False with `error` set when the arguments (program name excluded) make no sense.
bool ParseHostOptions(const std::vector<std::wstring>& args, HostOptions& options, std::wstring& error);

// The file:/// address of a page at the full Windows path `path`, as a browser writes it.
std::wstring FileUrlOfPath(const std::wstring& path);

}  // namespace kv::host
