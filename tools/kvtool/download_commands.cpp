// kvtool's size and get commands: one downloader with a hidden notify window, whose
// procedure prints each notification as it is handled, the way the control handles them
// inside Download's message pump.
#include "tools/kvtool/commands.h"

#include "base/codepage.h"
#include "base/unique_resource.h"
#include "net/download_messages.h"
#include "net/http_downloader.h"
#include "net/last_error.h"

#include <winsock2.h>
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void PrintLine(const std::string& line) {
    const std::string text = line + "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

// The last error as one line: the ANSI text in UTF-8, CR and LF spelled out.
void PrintLastError() {
    std::string text;
    for (const char c : kv::AnsiToUtf8(lastErrorText)) {
        if (c == '\r') text += "\\r";
        else if (c == '\n') text += "\\n";
        else text += c;
    }
    PrintLine("ERROR " + std::to_string(lastErrorCode) + " " + text);
}

struct Session {
    CHttpDownloaderEx downloader;
    long stopAfterProgress = 0;  // 0: never stop
    long progressCount = 0;
};

// Options after the positional arguments: "--stop-after-progress N" (get only) and
// "--silence-limit MS". False for anything else.
bool ReadOptions(const Arguments& args, size_t positional, bool stopAllowed, Session& session) {
    for (size_t i = positional; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) return false;
        const long value = std::strtol(args[i + 1].c_str(), nullptr, 10);
        if (args[i] == "--stop-after-progress" && stopAllowed) {
            session.stopAfterProgress = value;
        } else if (args[i] == "--silence-limit" && value > 0) {
            session.downloader.SetSilenceLimit(static_cast<int>(value));
        } else {
            return false;
        }
    }
    return true;
}

Session* current = nullptr;  // the window procedure's way to the session of this run

LRESULT CALLBACK NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DOWNLOAD_BEGIN:
        PrintLine("BEGIN");
        return 0;
    case WM_DOWNLOAD_PROGRESS: {
        const auto* progress = reinterpret_cast<const DownloadProgress*>(wParam);
        PrintLine("PROGRESS " + std::to_string(progress->lastChunk) + " " +
                  std::to_string(progress->received));
        if (current && ++current->progressCount == current->stopAfterProgress)
            current->downloader.Stop();
        return 0;
    }
    case WM_DOWNLOAD_DONE:
        PrintLine("DONE");
        return 0;
    case WM_DOWNLOAD_STOPPED:
        PrintLine("STOPPED");
        return 0;
    default:
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

kv::unique_hwnd CreateNotifyWindow() {
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = NotifyProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "KvToolNotify";
    ::RegisterClassA(&windowClass);
    return kv::unique_hwnd(::CreateWindowExA(0, windowClass.lpszClassName, "kvtool", WS_OVERLAPPED,
                                             0, 0, 0, 0, nullptr, nullptr, instance, nullptr));
}

// Handles what the engine posted after its last drain (the final DONE, for instance).
void DrainNotifications() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

void UseUtf8Output() {
    // Lines end in LF alone; the bytes are UTF-8 already.
    _setmode(_fileno(stdout), _O_BINARY);
    // Buffered, so that each line leaves in one write at its flush: a stream that is not
    // a console is otherwise written a byte at a time, a system call each, and a transfer
    // prints a line for every pass.
    std::setvbuf(stdout, nullptr, _IOFBF, 4096);
}

bool StartSession(Session& session, HWND window) {
    current = &session;
    if (session.downloader.Initialize(window, 102400)) return true;
    PrintLastError();
    return false;
}

bool PrintSize(Session& session, const std::string& url) {
    int64_t size = 0;
    const bool ok = session.downloader.QueryFileSize(url, size);
    DrainNotifications();
    if (ok) PrintLine("SIZE " + std::to_string(size));
    else PrintLastError();
    return ok;
}

}  // namespace

// Neither command holds a start-up of the socket library of its own: the engine's own
// start-up is all there is, as in a browser that uses no sockets besides the control's.
int RunSizeCommand(const Arguments& args) {
    UseUtf8Output();
    Session session;
    if (args.empty() || !ReadOptions(args, 1, false, session)) {
        std::fputs("usage: kvtool size URL [--silence-limit MS]\n", stderr);
        return 2;
    }
    const kv::unique_hwnd window = CreateNotifyWindow();
    if (!window || !StartSession(session, window.get())) return 1;
    const bool ok = PrintSize(session, args[0]);
    current = nullptr;
    return ok ? 0 : 1;
}

int RunGetCommand(const Arguments& args) {
    UseUtf8Output();
    Session session;
    if (args.size() < 2 || !ReadOptions(args, 2, true, session)) {
        std::fputs("usage: kvtool get URL PATH [--stop-after-progress N] [--silence-limit MS]\n",
                   stderr);
        return 2;
    }
    const kv::unique_hwnd window = CreateNotifyWindow();
    if (!window || !StartSession(session, window.get())) return 1;
    // The size query sets the size that decides whether a local file is complete; its
    // failure is printed and the download goes on, as the control does.
    PrintSize(session, args[0]);
    const bool ok = session.downloader.Download(args[0], args[1]);
    DrainNotifications();
    if (!ok) PrintLastError();
    current = nullptr;
    return ok ? 0 : 1;
}
