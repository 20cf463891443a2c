#include "files/staged_fetch.h"

#include "base/local_file.h"

#include <windows.h>

namespace {

bool RemoveIfPresent(const std::string& path) {
    if (!kv::FileExists(path)) return true;
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return ::DeleteFileA(path.c_str()) != FALSE;
}

}  // namespace

std::string StagingPathFor(const std::string& path) { return path + ".part"; }

StagedFetch FetchIntoPlace(const std::string& path, int64_t expectedSize,
                           const std::function<bool(const std::string& stagingPath)>& fetch) {
    const std::string staging = StagingPathFor(path);
    // A leftover is discarded, not resumed: nothing tells whether the server's file is still
    // the one it was cut from, and a skin archive is small enough to fetch again whole.
    if (!RemoveIfPresent(staging)) return StagedFetch::NotPlaced;
    if (!fetch(staging)) {
        RemoveIfPresent(staging);
        return StagedFetch::FetchFailed;
    }
    if (kv::FileSizeOf(staging) != expectedSize) {
        RemoveIfPresent(staging);
        return StagedFetch::Incomplete;
    }
    if (!::MoveFileExA(staging.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const DWORD error = ::GetLastError();
        RemoveIfPresent(staging);
        ::SetLastError(error);
        return StagedFetch::NotPlaced;
    }
    return StagedFetch::Placed;
}
