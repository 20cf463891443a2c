// A file fetched under a temporary name beside its final path and moved into place only
// when it is whole, so that a transfer cut short never looks like a finished file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

enum class StagedFetch {
    Placed,       // the whole file is at its final path
    FetchFailed,  // the fetch reported a failure of its own
    Incomplete,   // the fetch ended without failure, but short of the expected size
    NotPlaced,    // the staging file could not be cleared or moved; GetLastError says why
};

// The temporary name beside `path`.
std::string StagingPathFor(const std::string& path);

// Fetches `path` through its staging file: a staging file left by an earlier attempt is
// removed first, `fetch` writes the staging file, and only when it succeeds and the file
// holds exactly `expectedSize` bytes does it replace `path`. Otherwise the staging file is
// removed and `path` is left as it was.
StagedFetch FetchIntoPlace(const std::string& path, int64_t expectedSize,
                           const std::function<bool(const std::string& stagingPath)>& fetch);
