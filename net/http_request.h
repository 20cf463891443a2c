// The two GET request texts the engine ever sends, byte for byte.
#pragma once

#include <cstdint>
#include <string>

namespace kv {

// Redirect probe and size query.
std::string PlainRequest(const std::string& path, const std::string& hostName);
// Download: always carries the Range line, with offset 0 when nothing is resumed.
std::string RangedRequest(const std::string& path, const std::string& hostName, int64_t offset);

}  // namespace kv
