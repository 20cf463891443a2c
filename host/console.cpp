#include "host/console.h"

#include <string>

#include "base/codepage.h"

namespace kv::host {

void WriteLine(DWORD stdHandle, std::wstring_view text) {
    const HANDLE out = ::GetStdHandle(stdHandle);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
    std::wstring line(text);
    line += L"\r\n";
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(out, &mode)) {
        ::WriteConsoleW(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        return;
    }
    // Pipes and files get UTF-8 whatever the ANSI code page, so readers need not guess.
    line.pop_back();
    line.back() = L'\n';
    const std::string bytes = WideToUtf8(line);
    ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace kv::host
