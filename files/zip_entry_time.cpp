#include "files/zip_entry_time.h"

#include "files/zip_entry_rules.h"

#include <optional>

FILETIME StoredTimeToUtc(uint32_t dosDateTime) {
    FILETIME utc = {};
    const std::optional<uint64_t> ticks = DecodeDosDateTime(dosDateTime);
    if (!ticks) return utc;
    FILETIME local;
    local.dwLowDateTime = static_cast<DWORD>(*ticks);
    local.dwHighDateTime = static_cast<DWORD>(*ticks >> 32);
    if (!::LocalFileTimeToFileTime(&local, &utc)) return FILETIME{};
    return utc;
}
