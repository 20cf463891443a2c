#include "base/local_file.h"

#include "base/ansi_chars.h"
#include "base/path_text.h"

#include <windows.h>

namespace kv {

bool FileExists(const std::string& path) { return FileAttributesOf(path).has_value(); }

std::optional<uint32_t> FileAttributesOf(const std::string& path) {
    // Attributes rather than a directory search, which would take a pattern for any file it
    // matches. A path ending in a separator names no file, as the search answered too.
    if (path.empty() || !IsPlainPathText(path) || EndsWithBackslash(path) || path.back() == '/')
        return std::nullopt;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attributes;
}

std::optional<int64_t> FileSizeOf(const std::string& path) {
    if (!FileExists(path)) return std::nullopt;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

}  // namespace kv
