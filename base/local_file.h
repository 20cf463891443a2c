// Whether a file stands at a path, and how large it is: the one place that asks the file
// system these two questions, for the engine, the archive stage, the controller and the tools.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// A file or folder by exactly this name; a pattern with wildcards is no name and never
// exists, and neither does a path ending in a separator.
bool FileExists(const std::string& path);

// The attributes of what stands at `path`, by the same rules as FileExists; nothing when
// FileExists would say false.
std::optional<uint32_t> FileAttributesOf(const std::string& path);

// The size of the file at `path`; nothing when there is none or a folder stands there.
std::optional<int64_t> FileSizeOf(const std::string& path);

// The whole file at `path` (other readers allowed) in `bytes`; false, with `bytes` empty,
// when it cannot be opened or read or holds more than `limit` bytes.
bool ReadWholeFile(const std::string& path, uint64_t limit, std::vector<uint8_t>& bytes);

}  // namespace kv
