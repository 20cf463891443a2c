#include "files/zip_entry_rules.h"

namespace {

constexpr uint32_t kDeflated = 8;
constexpr size_t kNameField = 260;  // MAX_PATH: the record's name field with its NUL

// Windows file-attribute bits.
constexpr uint32_t kReadOnly = 0x01;
constexpr uint32_t kHidden = 0x02;
constexpr uint32_t kSystem = 0x04;
constexpr uint32_t kDirectory = 0x10;
constexpr uint32_t kArchive = 0x20;
constexpr uint32_t kNormal = 0x80;

bool IsLeapYear(unsigned year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

unsigned DaysInMonth(unsigned year, unsigned month) {
    static const unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1 January 1601 to the given date of the proleptic Gregorian calendar; 1601 starts
// a 400-year cycle, so whole cycles, centuries, four-year spans and years add up plainly.
uint64_t DaysSince1601(unsigned year, unsigned month, unsigned day) {
    const uint64_t years = year - 1601;
    uint64_t days = years * 365 + years / 4 - years / 100 + years / 400;
    for (unsigned m = 1; m < month; ++m) days += DaysInMonth(year, m);
    return days + day - 1;
}

}  // namespace

uint32_t AttributesFromExternal(uint32_t external) {
    constexpr uint32_t kUnixDirectory = 0x40000000;  // S_IFDIR in the upper half
    constexpr uint32_t kUnixOwnerWrite = 0x00800000;  // S_IWUSR in the upper half
    uint32_t attributes = kNormal;
    if (external & (kUnixDirectory | kDirectory)) attributes = kDirectory | kNormal;
    if (external & kArchive) attributes |= kArchive;
    if (external & kHidden) attributes |= kHidden;
    // Archives made without a Unix mode have the owner-write bit clear: read-only members.
    if (!(external & kUnixOwnerWrite) || (external & kReadOnly)) attributes |= kReadOnly;
    if (external & kSystem) attributes |= kSystem;
    return attributes;
}

std::optional<uint64_t> DecodeDosDateTime(uint32_t dosDateTime) {
    const unsigned date = dosDateTime >> 16;
    const unsigned time = dosDateTime & 0xFFFF;
    const unsigned year = 1980 + (date >> 9);
    const unsigned month = (date >> 5) & 0x0F;
    const unsigned day = date & 0x1F;
    const unsigned hour = time >> 11;
    const unsigned minute = (time >> 5) & 0x3F;
    const unsigned second = (time & 0x1F) * 2;
    if (month < 1 || month > 12) return std::nullopt;
    if (day < 1 || day > DaysInMonth(year, month)) return std::nullopt;
    if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
    const uint64_t seconds = DaysSince1601(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    return seconds * 10000000;
}

ZipResult CheckCentralRecord(uint32_t method, uint32_t storedNameLength, size_t copiedLength) {
    if (method != 0 && method != kDeflated) return kZipBadArchive;
    if (storedNameLength >= kNameField || copiedLength != storedNameLength) return kZipBadArchive;
    return kZipOk;
}
