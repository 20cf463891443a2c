// Scratch folders for the files/ tests: a fresh folder below the temporary folder, removed
// with everything in it (read-only files too) at the end, and the current folder restored.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class TestFolder {
public:
    TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    ~TestFolder();

    const std::string& path() const { return path_; }  // no trailing backslash
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
    std::string savedCurrent_;
};

std::string CurrentFolder();
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);  // empty when missing
bool IsFolder(const std::string& path);
// Entry names of a folder, sorted, without "." and "..".
std::string ListFolder(const std::string& path);

// An archive written by make_archives.py into the folder beside the test program.
std::string FixtureArchive(const std::string& name);

// The three times of a file as 100 ns ticks since 1601 (UTC), in the order creation,
// last access, last write; zeros when the file cannot be opened.
struct FileTimes {
    uint64_t creation = 0, access = 0, write = 0;
};
FileTimes ReadFileTimes(const std::string& path);
uint64_t Ticks(const FILETIME& time);

// Stored as 2021-03-04 05:06:08 local time in the test archives; the tests run in Seoul.
constexpr uint64_t kStampUtc = 0x1d71068a618b800ull;  // 2021-03-03 20:06:08 UTC
