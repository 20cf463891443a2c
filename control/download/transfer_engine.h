// What the download controller needs of the download engine: one transfer run to its end,
// a stop request, and the running transfer's progress record. Small enough for a test to
// script the engine's notifications without any socket.
#pragma once

#include "control/download/failure.h"
#include "net/download_messages.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace kv {

class TransferEngine {
public:
    // Where the notifications of the transfers go (null: nowhere). A running transfer
    // follows the change.
    virtual void SetNotifyWindow(HWND window) = 0;
    // Fetches `url` into `localPath`, resuming what is there, inside this call while the
    // thread's messages keep flowing. `knownSize` is what the server reported for this file
    // (0: unknown), against which a local file counts as complete. Nothing when the transfer
    // ended, its end notice posted; the failure otherwise, with nothing posted for the end.
    virtual std::optional<Failure> Transfer(const std::string& url, const std::string& localPath,
                                            int64_t knownSize) = 0;
    // The running transfer ends at its next turn; nothing when none runs.
    virtual void Stop() = 0;
    // The progress record of the running or last transfer, as it is now.
    virtual DownloadProgress Progress() const = 0;

protected:
    ~TransferEngine() = default;
};

}  // namespace kv
