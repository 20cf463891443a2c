// kvtool's size and get commands: one downloader with a hidden notify window, whose
// procedure prints each notification as it is handled, the way the control handles them
// inside Download's message pump.
#include "tools/kvtool/commands.h"

#include "base/codepage.h"
#include "base/timeline.h"
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
    bool printTimes = false;
};

// Options after the positional arguments: "--stop-after-progress N" and "--times" (get
// only) and "--silence-limit MS". False for anything else.
bool ReadOptions(const Arguments& args, size_t positional, bool getOptions, Session& session) {
    size_t i = positional;
    while (i < args.size()) {
        if (args[i] == "--times" && getOptions) {
            session.printTimes = true;
            ++i;
            continue;
        }
        if (i + 1 >= args.size()) return false;
        const long value = std::strtol(args[i + 1].c_str(), nullptr, 10);
        if (args[i] == "--stop-after-progress" && getOptions) {
            session.stopAfterProgress = value;
        } else if (args[i] == "--silence-limit" && value > 0) {
            session.downloader.SetSilenceLimit(static_cast<int>(value));
        } else {
            return false;
        }
        i += 2;
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
}

// Wall and CPU time of one stretch of the process, in microseconds. The CPU is the whole
// process's, at the system's clock tick (10 ms under Wine), which a transfer of seconds
// makes small.
class StretchTimes {
public:
    StretchTimes() : wallStart_(kv::TimelineNow()), cpuStart_(Cpu()) {}

    std::string Line() const {
        const Cpu now = Cpu();
        return "TIMES " + std::to_string(kv::TimelineNow() - wallStart_) + " " +
               std::to_string(now.user - cpuStart_.user) + " " +
               std::to_string(now.kernel - cpuStart_.kernel);
    }

private:
    struct Cpu {
        long long user = 0;
        long long kernel = 0;
        Cpu() {
            FILETIME created, ended, kernelTime, userTime;
            if (!::GetProcessTimes(::GetCurrentProcess(), &created, &ended, &kernelTime, &userTime))
                return;
            user = Microseconds(userTime);
            kernel = Microseconds(kernelTime);
        }
        static long long Microseconds(const FILETIME& time) {
            const ULONGLONG ticks = (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
            return static_cast<long long>(ticks / 10);  // 100 ns units
        }
    };

    long long wallStart_;
    Cpu cpuStart_;
};

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
        std::fputs("usage: kvtool get URL PATH [--stop-after-progress N] [--silence-limit MS] "
                   "[--times]\n",
                   stderr);
        return 2;
    }
    const kv::unique_hwnd window = CreateNotifyWindow();
    if (!window || !StartSession(session, window.get())) return 1;
    // The size query sets the size that decides whether a local file is complete; its
    // failure is printed and the download goes on, as the control does.
    PrintSize(session, args[0]);
    // "--times": the transfer's own wall and CPU time, after its last line, for the
    // benchmark; the process's start and the size query before it are not in them.
    const StretchTimes transfer;
    const bool ok = session.downloader.Download(args[0], args[1]);
    DrainNotifications();
    if (session.printTimes) PrintLine(transfer.Line());
    if (!ok) PrintLastError();
    current = nullptr;
    return ok ? 0 : 1;
}
