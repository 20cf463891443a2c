// Lines for people and test scripts: UTF-8 on redirected output, wide text on a console.
#pragma once

#include <windows.h>

#include <string_view>

namespace kv::host {

// Writes `text` and a line end to STD_OUTPUT_HANDLE or STD_ERROR_HANDLE; the bytes leave
// the process at once, so a reader sees each line as soon as it is written.
void WriteLine(DWORD stdHandle, std::wstring_view text);

}  // namespace kv::host
