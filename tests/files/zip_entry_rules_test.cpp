#include "files/zip_entry_rules.h"
#include "files/zip_entry_time.h"

#include "tests/files/test_folder.h"

#include <gtest/gtest.h>

namespace {

// DOS date (upper half) and time (lower half) from their fields.
uint32_t Dos(unsigned year, unsigned month, unsigned day, unsigned hour, unsigned minute,
             unsigned second) {
    const uint32_t date = ((year - 1980) << 9) | (month << 5) | day;
    const uint32_t time = (hour << 11) | (minute << 5) | (second / 2);
    return (date << 16) | time;
}

}  // namespace

TEST(AttributesFromExternal, Table) {
    const struct {
        uint32_t external;
        uint32_t attributes;
        const char* what;
    } cases[] = {
        {0x00000000, 0x81, "no Unix mode: read-only"},
        {0x81A40000, 0x80, "rw-r--r-- file"},
        {0x81A40020, 0xA0, "archive bit"},
        {0x81240000, 0x81, "r--r--r-- file"},
        {0x81240001, 0x81, "Info-ZIP read-only file"},
        {0x81A40001, 0x81, "DOS read-only bit alone"},
        {0x81A40002, 0x82, "hidden"},
        {0x81A40004, 0x84, "system"},
        {0x81A40027, 0xA7, "every DOS bit"},
        {0x41ED0010, 0x90, "Unix folder with DOS folder bit"},
        {0x41ED0000, 0x90, "Unix folder bit alone"},
        {0x00000010, 0x91, "DOS folder without Unix mode"},
        {0x00000020, 0xA1, "DOS archive file without Unix mode"},
        {0x00800000, 0x80, "owner-write alone"},
        {0x817F0000, 0x81, "owner-write clear, others set"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AttributesFromExternal(c.external), c.attributes) << c.what;
}

TEST(DecodeDosDateTime, ValidDates) {
    // Expected values counted independently: 100 ns ticks since 1601-01-01.
    const struct {
        uint32_t dos;
        uint64_t ticks;
    } cases[] = {
        {Dos(2021, 3, 4, 5, 6, 8), 0x1d710b416006000ull},
        {Dos(1980, 1, 1, 0, 0, 0), 0x1a8e79fe1d58000ull},
        {Dos(2107, 12, 31, 23, 59, 58), 0x23868b866d29300ull},
        {Dos(2000, 2, 29, 12, 0, 0), 0x1bf82ac81016000ull},
    };
    for (const auto& c : cases) {
        const std::optional<uint64_t> ticks = DecodeDosDateTime(c.dos);
        ASSERT_TRUE(ticks) << std::hex << c.dos;
        EXPECT_EQ(*ticks, c.ticks) << std::hex << c.dos;
    }
}

TEST(DecodeDosDateTime, DatesThatDoNotExist) {
    const uint32_t cases[] = {
        0,                                       // month 0, day 0
        Dos(2021, 13, 1, 0, 0, 0),
        Dos(2021, 4, 0, 0, 0, 0),
        Dos(2021, 2, 29, 0, 0, 0),
        Dos(2100, 2, 29, 0, 0, 0),
        Dos(2021, 4, 31, 0, 0, 0),
        Dos(2021, 1, 1, 24, 0, 0),
        Dos(2021, 1, 1, 0, 60, 0),
        Dos(2021, 1, 1, 0, 0, 60),
    };
    for (const uint32_t dos : cases) EXPECT_FALSE(DecodeDosDateTime(dos)) << std::hex << dos;
}

TEST(StoredTimeToUtc, InvalidDateGivesZero) {
    EXPECT_EQ(Ticks(StoredTimeToUtc(0)), 0u);
    EXPECT_EQ(Ticks(StoredTimeToUtc(Dos(2021, 2, 30, 0, 0, 0))), 0u);
}

TEST(CheckCentralRecord, MethodsAndNames) {
    EXPECT_EQ(CheckCentralRecord(0, 10, 10), kZipOk);
    EXPECT_EQ(CheckCentralRecord(8, 259, 259), kZipOk);
    EXPECT_EQ(CheckCentralRecord(8, 0, 0), kZipOk);
    EXPECT_EQ(CheckCentralRecord(12, 10, 10), kZipBadArchive);  // bzip2
    EXPECT_EQ(CheckCentralRecord(1, 10, 10), kZipBadArchive);
    EXPECT_EQ(CheckCentralRecord(99, 10, 10), kZipBadArchive);  // AES
    EXPECT_EQ(CheckCentralRecord(8, 260, 260), kZipBadArchive);
    EXPECT_EQ(CheckCentralRecord(8, 1000, 260), kZipBadArchive);
    EXPECT_EQ(CheckCentralRecord(8, 12, 3), kZipBadArchive);  // a NUL inside the name
}
