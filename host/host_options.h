// The host's command line:
// korvendal-host.exe PAGE [--headless [--answer VALUE]...] [--timeout SECONDS].
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
};

// False with `error` set when the arguments (program name excluded) make no sense.
bool ParseHostOptions(const std::vector<std::wstring>& args, HostOptions& options, std::wstring& error);

}  // namespace kv::host
