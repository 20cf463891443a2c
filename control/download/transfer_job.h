// One job of the control: the file that one Init names, where it goes, what the server said
// of its size, and the figures of its transfers. Init starts a new job; nothing of the last
// one carries over.
#pragma once

#include "control/download/failure.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kv {

// The answer of a size query: the size, or why there is none.
struct RemoteSize {
    int64_t size = 0;
    std::optional<Failure> failure;
};

// What Init hands the controller for a new job.
struct NewJob {
    std::string url;             // the server folder followed by the file name
    std::string fileName;
    std::string downloadFolder;  // the documents folder; empty: the last job's folder stays
    RemoteSize remoteSize;
};

// The file a transfer fetches and where it goes.
struct TransferTarget {
    std::string url;
    std::string fileName;
    std::string downloadFolder;
    std::string targetPath;      // downloadFolder, a backslash, fileName
    int64_t fileSize = 0;        // on the server, as queried; 0 when unknown
    bool sizeKnown = false;      // the size query answered
};

// The figures of the job's transfers.
struct JobCounters {
    uint32_t startTick = 0;        // when the running transfer started
    uint32_t elapsedSeconds = 0;   // timer ticks
    int64_t transferBytes = 0;     // received since the start
    uint32_t refreshCounter = 0;   // progress notices since the last refresh of the figures
};

}  // namespace kv
