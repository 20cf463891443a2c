// The lead-byte test of code page 949 without asking the system, for native builds: every
// byte from 0x81 to 0xFE starts a double-byte character (Unified Hangul Code).
#include "base/ansi_lead_byte.h"

namespace kv {

bool IsAnsiLeadByte(unsigned char byte) noexcept { return byte >= 0x81 && byte <= 0xFE; }

}  // namespace kv
