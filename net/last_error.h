// The download engine's last failure, one pair for the whole process. Every failure of the
// engine overwrites both; success leaves them alone. Texts are in the ANSI code page.
#pragma once

#include <cstdint>
#include <string>

extern int32_t lastErrorCode;
extern std::string lastErrorText;
