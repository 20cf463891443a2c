// The one question about the ANSI code page (949 on a Korean system) that the text walkers
// ask the system: does this byte start a double-byte character? Kept apart so that the
// parsers over plain bytes can be built without Windows, with a code page 949 rule instead.
#pragma once

namespace kv {

bool IsAnsiLeadByte(unsigned char byte) noexcept;

}  // namespace kv
