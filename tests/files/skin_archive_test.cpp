#include "files/skin_archive.h"

#include "tests/files/test_folder.h"

#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

namespace {

// The file system sets the archive bit on every new file by itself; the other bits tell what
// the extraction asked for.
constexpr DWORD kKeptBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

DWORD KeptBits(const std::string& path) { return ::GetFileAttributesA(path.c_str()) & kKeptBits; }

std::vector<std::string> Extract(const std::string& archive, const std::string& dest, bool* result) {
    std::vector<std::string> written;
    *result = ExtractSkinArchive(FixtureArchive(archive), dest,
                                 [&](const std::string& path) { written.push_back(path); });
    return written;
}

}  // namespace

TEST(ExtractSkinArchive, NoFileIsLeftReadOnlyAndOtherBitsStay) {
    TestFolder dest;
    ASSERT_TRUE(ExtractSkinArchive(FixtureArchive("attributes.zip"), dest.path()));
    EXPECT_EQ(ListFolder(dest.path()),
              "dosro.txt hidden.txt nomode.txt old.txt plain.txt readonly.txt system.txt");
    EXPECT_EQ(KeptBits(dest / "plain.txt"), 0u);
    EXPECT_EQ(KeptBits(dest / "readonly.txt"), 0u);
    EXPECT_EQ(KeptBits(dest / "nomode.txt"), 0u);
    EXPECT_EQ(KeptBits(dest / "dosro.txt"), 0u);
    EXPECT_EQ(KeptBits(dest / "hidden.txt"), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(KeptBits(dest / "system.txt"), static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(ReadFileBytes(dest / "readonly.txt"), "read-only in the archive\n");
}

TEST(ExtractSkinArchive, EveryFileCarriesItsStoredTimeThreeTimes) {
    TestFolder dest;
    ASSERT_TRUE(ExtractSkinArchive(FixtureArchive("attributes.zip"), dest.path()));
    for (const char* name : {"plain.txt", "readonly.txt", "hidden.txt", "system.txt", "nomode.txt"}) {
        const FileTimes times = ReadFileTimes(dest / name);
        EXPECT_EQ(times.creation, kStampUtc) << name;
        EXPECT_EQ(times.access, kStampUtc) << name;
        EXPECT_EQ(times.write, kStampUtc) << name;
    }
    EXPECT_EQ(ReadFileTimes(dest / "old.txt").write, 0x1bf539fb4546b00ull);  // 1999-12-31 14:59:58 UTC
}

TEST(ExtractSkinArchive, ExistingReadOnlyFileIsReplaced) {
    TestFolder dest;
    WriteFileBytes(dest / "plain.txt", "an older skin");
    ASSERT_TRUE(::SetFileAttributesA((dest / "plain.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(ExtractSkinArchive(FixtureArchive("attributes.zip"), dest.path()));
    EXPECT_EQ(ReadFileBytes(dest / "plain.txt"), "plain\n");
    EXPECT_EQ(KeptBits(dest / "plain.txt"), 0u);
}

TEST(ExtractSkinArchive, InfoZipArchivesWithAndWithoutExtraFields) {
    for (const char* archive : {"infozip.zip", "infozip_plain.zip"}) {
        TestFolder dest;
        ASSERT_TRUE(ExtractSkinArchive(FixtureArchive(archive), dest.path())) << archive;
        EXPECT_EQ(ListFolder(dest.path()), "Config.ini img ro.jpg") << archive;
        EXPECT_EQ(ReadFileBytes(dest / "img\\bk.jpg"), "\xff\xd8" "background") << archive;
        EXPECT_EQ(KeptBits(dest / "ro.jpg"), 0u) << archive;  // r--r--r-- in the archive
        EXPECT_EQ(ReadFileTimes(dest / "Config.ini").write, kStampUtc) << archive;
        EXPECT_EQ(ReadFileTimes(dest / "img\\bk.jpg").creation, kStampUtc) << archive;
    }
}

TEST(ExtractSkinArchive, DestinationWithOrWithoutTrailingBackslash) {
    TestFolder first;
    TestFolder second;
    bool result = false;
    const auto without = Extract("infozip.zip", first.path(), &result);
    EXPECT_TRUE(result);
    const auto with = Extract("infozip.zip", second.path() + "\\", &result);
    EXPECT_TRUE(result);
    EXPECT_EQ(without, (std::vector<std::string>{first / "Config.ini", first / "img\\bk.jpg",
                                                  first / "ro.jpg"}));
    EXPECT_EQ(with, (std::vector<std::string>{second / "Config.ini", second / "img\\bk.jpg",
                                               second / "ro.jpg"}));
}

TEST(ExtractSkinArchive, KoreanMemberNameGivesAKoreanFileName) {
    TestFolder dest;
    ASSERT_TRUE(ExtractSkinArchive(FixtureArchive("korean.zip"), dest.path()));
    const std::wstring wide = std::wstring(dest.path().begin(), dest.path().end()) + L"\\스킨\\배경.jpg";
    HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char buffer[64] = {};
    DWORD read = 0;
    ::ReadFile(file, buffer, sizeof buffer, &read, nullptr);
    ::CloseHandle(file);
    EXPECT_EQ(std::string(buffer, read), "korean picture");
}

TEST(ExtractSkinArchive, FolderMembersWithAndWithoutSeparator) {
    TestFolder current;
    TestFolder dest;
    ASSERT_TRUE(::SetCurrentDirectoryA(current.path().c_str()));
    bool result = false;
    const auto written = Extract("folders.zip", dest.path(), &result);
    EXPECT_TRUE(result);
    EXPECT_EQ(written, (std::vector<std::string>{dest / "img\\bk.jpg", dest / "Config.ini"}));
    EXPECT_TRUE(IsFolder(dest / "a\\b"));
    // "solo" is a folder by its attribute only: below the destination all the same.
    EXPECT_EQ(ListFolder(dest.path()), "Config.ini a img solo");
    EXPECT_TRUE(IsFolder(dest / "solo"));
    EXPECT_EQ(ListFolder(current.path()), "");
    // The extraction leaves the current folder at the last member's existing folder.
    EXPECT_EQ(CurrentFolder(), dest.path());
}

TEST(ExtractSkinArchive, FailuresAndWhatStaysOnDisk) {
    const struct {
        const char* archive;
        const char* listing;
    } cases[] = {
        {"missing.zip", ""},
        {"notzip.zip", ""},
        {"truncated.zip", ""},
        {"empty.zip", ""},
        {"damaged.zip", "first.txt second.txt"},
        {"mismatch_crc.zip", "ok.txt"},
        {"bzip2.zip", "ok.txt"},
        {"badextra.zip", "ok.txt"},
    };
    for (const auto& c : cases) {
        TestFolder dest;
        EXPECT_FALSE(ExtractSkinArchive(FixtureArchive(c.archive), dest.path())) << c.archive;
        EXPECT_EQ(ListFolder(dest.path()), c.listing) << c.archive;
    }
}

TEST(ExtractSkinArchive, EmptyDestinationIsRefusedBeforeOpening) {
    TestFolder root;
    ASSERT_TRUE(::SetCurrentDirectoryA(root.path().c_str()));
    EXPECT_FALSE(ExtractSkinArchive(FixtureArchive("attributes.zip"), ""));
    EXPECT_EQ(ListFolder(root.path()), "");
}

// What is kept is what the disk holds: a name whose file a later member replaced gives none.
TEST(ExtractSkinArchive, KeepsEachFileWrittenAsTheDiskHoldsIt) {
    TestFolder dest;
    kv::UnpackedFiles written;
    ASSERT_TRUE(ExtractSkinArchive(FixtureArchive("case_twins.zip"), dest.path(), written));
    const auto kept = [&](const std::string& name) {
        const std::vector<uint8_t>* bytes = written.Find(dest / name);
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("(none)");
    };
    EXPECT_EQ(kept("other.txt"), "other");
    EXPECT_EQ(kept("PIC.JPG"), "second");
    EXPECT_EQ(ReadFileBytes(dest / "pic.jpg"), "second");
    EXPECT_EQ(kept("pic.jpg"), "(none)");
}
