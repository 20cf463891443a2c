#include "files/skin_zip_reader.h"

#include "tests/files/test_folder.h"

#include <windows.h>

#include <cstring>

#include <gtest/gtest.h>

namespace {

ZipEntry Junk() {
    ZipEntry entry;
    std::memset(static_cast<void*>(&entry), 0xDE, sizeof entry);
    return entry;
}

std::string Repeat(const std::string& piece, size_t times) {
    std::string out;
    for (size_t i = 0; i < times; ++i) out += piece;
    return out;
}

}  // namespace

TEST(SkinZipReader, MissingFileCannotBeOpened) {
    CSkinZipReader reader;
    EXPECT_EQ(reader.Open(FixtureArchive("missing.zip")), kZipCannotOpen);
    ZipEntry entry;
    EXPECT_EQ(reader.GetEntry(-1, entry), kZipBadArgument);
    EXPECT_EQ(reader.Close(), kZipBadArgument);
}

TEST(SkinZipReader, FilesThatAreNoArchive) {
    for (const char* name : {"notzip.zip", "truncated.zip"}) {
        CSkinZipReader reader;
        EXPECT_EQ(reader.Open(FixtureArchive(name)), kZipBadArchive) << name;
        ZipEntry entry;
        EXPECT_EQ(reader.GetEntry(-1, entry), kZipBadArgument) << name;
    }
}

TEST(SkinZipReader, OtherReadersAreAllowedButNotWriters) {
    const std::string path = FixtureArchive("attributes.zip");
    {
        HANDLE reading = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(reading, INVALID_HANDLE_VALUE);
        CSkinZipReader reader;
        EXPECT_EQ(reader.Open(path), kZipOk);
        ::CloseHandle(reading);
    }
    HANDLE writing = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writing, INVALID_HANDLE_VALUE);
    CSkinZipReader reader;
    EXPECT_EQ(reader.Open(path), kZipCannotOpen);
    ::CloseHandle(writing);
}

TEST(SkinZipReader, CountAndIndexChecks) {
    CSkinZipReader reader;
    ASSERT_EQ(reader.Open(FixtureArchive("attributes.zip")), kZipOk);
    ZipEntry entry = Junk();
    ASSERT_EQ(reader.GetEntry(-1, entry), kZipOk);
    EXPECT_EQ(entry.index, 7);
    EXPECT_STREQ(entry.name, "");
    EXPECT_EQ(entry.attributes, 0u);
    EXPECT_EQ(Ticks(entry.accessTime) + Ticks(entry.creationTime) + Ticks(entry.modificationTime), 0u);
    EXPECT_EQ(entry.compressedSize, 0);
    EXPECT_EQ(entry.uncompressedSize, 0);
    EXPECT_EQ(reader.GetEntry(-2, entry), kZipBadArgument);
    EXPECT_EQ(reader.GetEntry(7, entry), kZipBadArgument);
    TestFolder dest;
    EXPECT_EQ(reader.ExtractEntry(-1, dest / "x"), kZipBadArgument);
    EXPECT_EQ(reader.ExtractEntry(7, dest / "x"), kZipBadArgument);
    EXPECT_EQ(ListFolder(dest.path()), "");
    EXPECT_EQ(reader.Close(), kZipOk);
    EXPECT_EQ(reader.Close(), kZipBadArgument);
    EXPECT_EQ(reader.GetEntry(0, entry), kZipBadArgument);
}

TEST(SkinZipReader, EmptyArchiveIsRefused) {
    // minizip takes an end record at offset 0, the whole of an empty archive, for a missing
    // one; such an archive holds no skin either way.
    CSkinZipReader reader;
    EXPECT_EQ(reader.Open(FixtureArchive("empty.zip")), kZipBadArchive);
}

TEST(SkinZipReader, RecordsCarryAttributesTimesAndSizes) {
    const struct {
        const char* name;
        uint32_t attributes;
        int32_t size;
    } members[] = {
        {"plain.txt", 0xA0, 6},  {"readonly.txt", 0x81, 25}, {"hidden.txt", 0xA2, 7},
        {"system.txt", 0x84, 7}, {"nomode.txt", 0x81, 13},   {"dosro.txt", 0x81, 14},
    };
    CSkinZipReader reader;
    ASSERT_EQ(reader.Open(FixtureArchive("attributes.zip")), kZipOk);
    for (int32_t i = 0; i < 6; ++i) {
        ZipEntry entry = Junk();
        ASSERT_EQ(reader.GetEntry(i, entry), kZipOk) << i;
        EXPECT_EQ(entry.index, i);
        EXPECT_STREQ(entry.name, members[i].name);
        EXPECT_EQ(entry.attributes, members[i].attributes) << members[i].name;
        EXPECT_EQ(entry.uncompressedSize, members[i].size) << members[i].name;
        EXPECT_EQ(Ticks(entry.modificationTime), kStampUtc) << members[i].name;
        EXPECT_EQ(Ticks(entry.accessTime), kStampUtc);
        EXPECT_EQ(Ticks(entry.creationTime), kStampUtc);
    }
    ZipEntry stored;
    ASSERT_EQ(reader.GetEntry(3, stored), kZipOk);
    EXPECT_EQ(stored.compressedSize, stored.uncompressedSize);
    ZipEntry old;
    ASSERT_EQ(reader.GetEntry(6, old), kZipOk);
    EXPECT_EQ(old.uncompressedSize, 5000);
    EXPECT_LT(old.compressedSize, 100);
    EXPECT_EQ(Ticks(old.modificationTime), 0x1bf539fb4546b00ull);  // 1999-12-31 14:59:58 UTC
}

TEST(SkinZipReader, MembersAreReachedInAnyOrder) {
    CSkinZipReader reader;
    ASSERT_EQ(reader.Open(FixtureArchive("attributes.zip")), kZipOk);
    ZipEntry entry;
    for (const int32_t index : {5, 1, 6, 0, 0, 4}) {
        ASSERT_EQ(reader.GetEntry(index, entry), kZipOk);
        EXPECT_EQ(entry.index, index);
    }
    EXPECT_STREQ(entry.name, "nomode.txt");
    TestFolder dest;
    ASSERT_EQ(reader.ExtractEntry(2, dest / "second"), kZipOk);
    EXPECT_EQ(ReadFileBytes(dest / "second"), "hidden\n");
    ASSERT_EQ(reader.ExtractEntry(0, dest / "first"), kZipOk);
    EXPECT_EQ(ReadFileBytes(dest / "first"), "plain\n");
}

TEST(SkinZipReader, LocalHeaderMustAgreeWithTheCentralDirectory) {
    for (const char* name : {"mismatch_crc.zip", "mismatch_size.zip", "mismatch_method.zip", "bzip2.zip"}) {
        CSkinZipReader reader;
        ASSERT_EQ(reader.Open(FixtureArchive(name)), kZipOk) << name;
        ZipEntry entry;
        EXPECT_EQ(reader.GetEntry(0, entry), kZipOk) << name;
        EXPECT_EQ(reader.GetEntry(1, entry), kZipBadArchive) << name;
        TestFolder dest;
        EXPECT_EQ(reader.ExtractEntry(1, dest / "member.txt"), kZipBadArchive) << name;
        EXPECT_EQ(ListFolder(dest.path()), "") << name;
    }
}

TEST(SkinZipReader, UnreadableLocalExtraField) {
    CSkinZipReader reader;
    ASSERT_EQ(reader.Open(FixtureArchive("badextra.zip")), kZipOk);
    ZipEntry entry;
    EXPECT_EQ(reader.GetEntry(0, entry), kZipOk);
    EXPECT_EQ(reader.GetEntry(1, entry), kZipBadExtraField);
    TestFolder dest;
    EXPECT_EQ(reader.ExtractEntry(1, dest / "member.txt"), kZipBadExtraField);
    EXPECT_EQ(ListFolder(dest.path()), "");
}

TEST(SkinZipReader, NamesMustFitTheRecordWhole) {
    CSkinZipReader reader;
    ASSERT_EQ(reader.Open(FixtureArchive("names.zip")), kZipOk);
    ZipEntry entry;
    ASSERT_EQ(reader.GetEntry(0, entry), kZipOk);
    EXPECT_EQ(std::string(entry.name), std::string(259, 'n'));
    EXPECT_EQ(reader.GetEntry(1, entry), kZipBadArchive);  // 260 bytes
    EXPECT_EQ(reader.GetEntry(2, entry), kZipBadArchive);  // "nul\0name.txt"
    ASSERT_EQ(reader.GetEntry(3, entry), kZipOk);
    EXPECT_STREQ(entry.name, "스킨/배경.jpg");
}

TEST(SkinZipReader, DamagedDataFailsAfterPartOfTheFile) {
    CSkinZipReader reader;
    ASSERT_EQ(reader.Open(FixtureArchive("damaged.zip")), kZipOk);
    TestFolder dest;
    EXPECT_EQ(reader.ExtractEntry(0, dest / "first.txt"), kZipOk);
    EXPECT_EQ(reader.ExtractEntry(1, dest / "second.txt"), kZipReadWriteFailed);
    std::string whole;
    for (int i = 0; i < 256; ++i) whole += static_cast<char>(i);
    whole = Repeat(whole, 160);
    const std::string partial = ReadFileBytes(dest / "second.txt");
    EXPECT_GT(partial.size(), 0u);
    EXPECT_LT(partial.size(), whole.size());
    EXPECT_EQ(partial, whole.substr(0, partial.size()));
}

TEST(SkinZipReader, WrongChecksumIsNotVerified) {
    CSkinZipReader reader;
    ASSERT_EQ(reader.Open(FixtureArchive("badcrc.zip")), kZipOk);
    TestFolder dest;
    EXPECT_EQ(reader.ExtractEntry(0, dest / "data.txt"), kZipOk);
    EXPECT_EQ(ReadFileBytes(dest / "data.txt"), "clean data, wrong checksum\n");
}

TEST(SkinZipReader, TargetThatCannotBeCreated) {
    CSkinZipReader reader;
    ASSERT_EQ(reader.Open(FixtureArchive("attributes.zip")), kZipOk);
    TestFolder dest;
    EXPECT_EQ(reader.ExtractEntry(0, dest / "missing\\plain.txt"), kZipCannotOpen);
    ::CreateDirectoryA((dest / "folder").c_str(), nullptr);
    EXPECT_EQ(reader.ExtractEntry(0, dest / "folder"), kZipCannotOpen);
    WriteFileBytes(dest / "busy.txt", "busy");
    HANDLE busy = ::CreateFileA((dest / "busy.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(busy, INVALID_HANDLE_VALUE);
    EXPECT_EQ(reader.ExtractEntry(0, dest / "busy.txt"), kZipCannotOpen);
    ::CloseHandle(busy);
    EXPECT_EQ(ReadFileBytes(dest / "busy.txt"), "busy");
}

TEST(SkinZipReader, WrittenFileCarriesTheMemberAttributesAndTime) {
    CSkinZipReader reader;
    ASSERT_EQ(reader.Open(FixtureArchive("attributes.zip")), kZipOk);
    TestFolder dest;
    ASSERT_EQ(reader.ExtractEntry(2, dest / "hidden.txt"), kZipOk);
    ASSERT_EQ(reader.ExtractEntry(1, dest / "readonly.txt"), kZipOk);
    // The file system sets the archive bit on every new file by itself, so only the others
    // tell what the extraction asked for.
    const DWORD keep = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    EXPECT_EQ(::GetFileAttributesA((dest / "hidden.txt").c_str()) & keep,
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    // Read-only as the archive says; clearing it is the extraction's business.
    EXPECT_EQ(::GetFileAttributesA((dest / "readonly.txt").c_str()) & keep,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    const FileTimes times = ReadFileTimes(dest / "hidden.txt");
    EXPECT_EQ(times.write, kStampUtc);
    EXPECT_EQ(times.access, kStampUtc);
    EXPECT_EQ(times.creation, kStampUtc);
}

TEST(SkinZipReader, FolderMemberIsCreatedAtItsOutputPath) {
    TestFolder current;
    TestFolder dest;
    ASSERT_TRUE(::SetCurrentDirectoryA(current.path().c_str()));
    CSkinZipReader reader;
    ASSERT_EQ(reader.Open(FixtureArchive("folders.zip")), kZipOk);
    // "solo" is a folder by its attribute only; the current folder is no place for it.
    EXPECT_EQ(reader.ExtractEntry(2, dest / "solo"), kZipOk);
    EXPECT_TRUE(IsFolder(dest / "solo"));
    EXPECT_EQ(reader.ExtractEntry(2, dest / "solo"), kZipOk);  // already there
    EXPECT_EQ(ListFolder(current.path()), "");
    WriteFileBytes(dest / "taken", "a file");
    EXPECT_EQ(reader.ExtractEntry(2, dest / "taken"), kZipCannotOpen);
}
