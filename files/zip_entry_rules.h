// How a member's stored central-directory fields become the values of a ZipEntry:
// attributes, times, and which records are usable at all. Pure functions over the stored
// numbers.
#pragma once

#include "files/zip_result.h"

#include <cstddef>
#include <cstdint>
#include <optional>

// Windows attribute bits from the stored 32-bit external attributes, which carry DOS bits in
// the low byte and, from Unix zip tools, the Unix file mode in the upper half.
uint32_t AttributesFromExternal(uint32_t external);

// The stored DOS date (upper 16 bits) and time (lower 16) as 100-nanosecond ticks since
// 1 January 1601 on the same clock (a FILETIME's value); nothing for a date or time that
// does not exist (month 0, 31 February, 62 seconds...).
std::optional<uint64_t> DecodeDosDateTime(uint32_t dosDateTime);

// Whether a central-directory record can be turned into a ZipEntry: the method must be stored
// (0) or deflated (8), and the name must fit the record whole (at most 259 bytes, no NUL
// inside, `copiedLength` being the length up to the first NUL).
ZipResult CheckCentralRecord(uint32_t method, uint32_t storedNameLength, size_t copiedLength);
