#include "files/staged_fetch.h"

#include "tests/files/test_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// A fetch that writes `bytes` to the staging file and answers `succeeds`, noting whether a
// staging file was there when it started.
struct Writer {
    std::string bytes;
    bool succeeds = true;
    bool sawLeftover = false;
    int calls = 0;
    bool operator()(const std::string& staging) {
        ++calls;
        sawLeftover = ::GetFileAttributesA(staging.c_str()) != INVALID_FILE_ATTRIBUTES;
        WriteFileBytes(staging, bytes);
        return succeeds;
    }
};

}  // namespace

TEST(FetchIntoPlace, OnlyAWholeFileReachesItsPath) {
    const struct {
        const char* what;
        std::string bytes;
        bool succeeds;
        StagedFetch result;
    } cases[] = {
        {"whole", "0123456789", true, StagedFetch::Placed},
        {"failed part way", "01234", false, StagedFetch::FetchFailed},
        {"ended short without failure (stopped)", "01234", true, StagedFetch::Incomplete},
        {"longer than announced", "0123456789AB", true, StagedFetch::Incomplete},
    };
    for (const auto& c : cases) {
        TestFolder root;
        Writer writer{c.bytes, c.succeeds};
        EXPECT_EQ(FetchIntoPlace(root / "skin.zip", 10, std::ref(writer)), c.result) << c.what;
        const bool placed = c.result == StagedFetch::Placed;
        EXPECT_EQ(ListFolder(root.path()), placed ? "skin.zip" : "") << c.what;
        EXPECT_EQ(ReadFileBytes(root / "skin.zip"), placed ? c.bytes : "") << c.what;
    }
}

TEST(FetchIntoPlace, LeftoverOfAnEarlierAttemptIsDiscarded) {
    TestFolder root;
    WriteFileBytes(StagingPathFor(root / "skin.zip"), "stale part");
    ::SetFileAttributesA(StagingPathFor(root / "skin.zip").c_str(), FILE_ATTRIBUTE_READONLY);
    Writer writer{"fresh"};
    EXPECT_EQ(FetchIntoPlace(root / "skin.zip", 5, std::ref(writer)), StagedFetch::Placed);
    EXPECT_FALSE(writer.sawLeftover);
    EXPECT_EQ(ReadFileBytes(root / "skin.zip"), "fresh");
}

TEST(FetchIntoPlace, LeftoverThatCannotBeRemovedStopsBeforeFetching) {
    TestFolder root;
    const std::string staging = StagingPathFor(root / "skin.zip");
    WriteFileBytes(staging, "held");
    HANDLE held = ::CreateFileA(staging.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Writer writer{"fresh"};
    ::SetLastError(0);
    EXPECT_EQ(FetchIntoPlace(root / "skin.zip", 5, std::ref(writer)), StagedFetch::NotPlaced);
    EXPECT_NE(::GetLastError(), 0u);
    ::CloseHandle(held);
    EXPECT_EQ(writer.calls, 0);
    EXPECT_EQ(ReadFileBytes(root / "skin.zip"), "");
}
