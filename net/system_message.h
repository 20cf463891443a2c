// The system's own message for an error code, in the ANSI code page.
#pragma once

#include <windows.h>

#include <string>

namespace kv {

// Copied as the system gives it (usually ending in CR LF); the engine's general text when
// the system has no message for the code.
std::string SystemMessage(DWORD code);

}  // namespace kv
