#include "base/ansi_lead_byte.h"

#include <windows.h>

namespace kv {

bool IsAnsiLeadByte(unsigned char byte) noexcept { return ::IsDBCSLeadByteEx(CP_ACP, byte) != FALSE; }

}  // namespace kv
