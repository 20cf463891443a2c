// Result codes of the skin archive reader: 0 is success, every other value a failure.
#pragma once

#include <cstdint>

using ZipResult = uint32_t;

constexpr ZipResult kZipOk = 0x00000000;
// The archive file cannot be opened, or a member's target file cannot be created.
constexpr ZipResult kZipCannotOpen = 0x00000200;
// Reading, inflating or writing failed while a member was extracted.
constexpr ZipResult kZipReadWriteFailed = 0x00000400;
// Not a zip archive, or a member whose records are unusable (local header disagreeing with
// the central directory, unsupported method, a name that does not fit the record).
constexpr ZipResult kZipBadArchive = 0x00000700;
// A member's local extra field cannot be read.
constexpr ZipResult kZipBadExtraField = 0x00000800;
// An index outside the archive, or no open archive.
constexpr ZipResult kZipBadArgument = 0x00010000;
