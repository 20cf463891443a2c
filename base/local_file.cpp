#include "base/local_file.h"

#include "base/ansi_chars.h"
#include "base/path_text.h"
#include "base/unique_resource.h"

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

bool ReadWholeFile(const std::string& path, uint64_t limit, std::vector<uint8_t>& bytes) {
    bytes.clear();
    const unique_hfile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<uint64_t>(size.QuadPart) > limit) {
        return false;
    }
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size())) {
        bytes.clear();
        return false;
    }
    return true;
}

}  // namespace kv
