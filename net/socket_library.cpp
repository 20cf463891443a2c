#include "net/socket_library.h"

bool socketsStarted = false;

namespace {
WSADATA startupRecord;
}

bool StartSockets(WORD version) {
    if (socketsStarted) return true;
    const int result = ::WSAStartup(version, &startupRecord);
    if (result != 0) {
        // WSAStartup hands its error back directly; keep it where callers look for it.
        ::WSASetLastError(result);
        return false;
    }
    socketsStarted = true;
    return true;
}

bool CleanupSockets() {
    if (!socketsStarted) return true;
    if (::WSACleanup() != 0) return false;
    socketsStarted = false;
    return true;
}
