#include "files/zip_entry_rules.h"

namespace {

constexpr uint32_t kDeflated = 8;

bool IsLeapYear(unsigned year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

unsigned DaysInMonth(unsigned year, unsigned month) {
    static const unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

uint32_t AttributesFromExternal(uint32_t external) {
    constexpr uint32_t kUnixDirectory = 0x40000000;  // S_IFDIR in the upper half
    constexpr uint32_t kUnixOwnerWrite = 0x00800000;  // S_IWUSR in the upper half
    uint32_t attributes = FILE_ATTRIBUTE_NORMAL;
    if (external & (kUnixDirectory | FILE_ATTRIBUTE_DIRECTORY))
        attributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_NORMAL;
    if (external & FILE_ATTRIBUTE_ARCHIVE) attributes |= FILE_ATTRIBUTE_ARCHIVE;
    if (external & FILE_ATTRIBUTE_HIDDEN) attributes |= FILE_ATTRIBUTE_HIDDEN;
    // Archives made without a Unix mode have the owner-write bit clear: read-only members.
    if (!(external & kUnixOwnerWrite) || (external & FILE_ATTRIBUTE_READONLY))
        attributes |= FILE_ATTRIBUTE_READONLY;
    if (external & FILE_ATTRIBUTE_SYSTEM) attributes |= FILE_ATTRIBUTE_SYSTEM;
    return attributes;
}

std::optional<FILETIME> DecodeDosDateTime(uint32_t dosDateTime) {
    const unsigned date = dosDateTime >> 16;
    const unsigned time = dosDateTime & 0xFFFF;
    SYSTEMTIME fields = {};
    fields.wYear = static_cast<WORD>(1980 + (date >> 9));
    fields.wMonth = static_cast<WORD>((date >> 5) & 0x0F);
    fields.wDay = static_cast<WORD>(date & 0x1F);
    fields.wHour = static_cast<WORD>(time >> 11);
    fields.wMinute = static_cast<WORD>((time >> 5) & 0x3F);
    fields.wSecond = static_cast<WORD>((time & 0x1F) * 2);
    // Checked here rather than left to the system, whose leniency differs between versions.
    if (fields.wMonth < 1 || fields.wMonth > 12) return std::nullopt;
    if (fields.wDay < 1 || fields.wDay > DaysInMonth(fields.wYear, fields.wMonth)) return std::nullopt;
    if (fields.wHour > 23 || fields.wMinute > 59 || fields.wSecond > 59) return std::nullopt;
    FILETIME result;
    if (!::SystemTimeToFileTime(&fields, &result)) return std::nullopt;
    return result;
}

FILETIME StoredTimeToUtc(uint32_t dosDateTime) {
    FILETIME utc = {};
    const std::optional<FILETIME> local = DecodeDosDateTime(dosDateTime);
    if (!local || !::LocalFileTimeToFileTime(&*local, &utc)) return FILETIME{};
    return utc;
}

ZipResult CheckCentralRecord(uint32_t method, uint32_t storedNameLength, size_t copiedLength) {
    if (method != 0 && method != kDeflated) return kZipBadArchive;
    if (storedNameLength >= MAX_PATH || copiedLength != storedNameLength) return kZipBadArchive;
    return kZipOk;
}
