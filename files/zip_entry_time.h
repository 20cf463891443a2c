// A member's stored DOS date and time, which zip tools write in local time, as the UTC file
// time that the extracted file carries.
#pragma once

#include <windows.h>

#include <cstdint>

// Read as local time of this system; zero when the stored value is no valid date.
FILETIME StoredTimeToUtc(uint32_t dosDateTime);
