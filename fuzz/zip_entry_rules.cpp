// Fuzz target: a member's stored central-directory fields as an archive may hold them. The
// input is text: a first line "EXTERNAL DOSTIME METHOD" in hexadecimal, then the member name
// as raw bytes, which goes through the record check and the path rules as the extraction
// takes it.
#include "files/path_rules.h"
#include "files/zip_entry_rules.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

namespace {

constexpr uint64_t kTicksPerSecond = 10000000;
constexpr uint64_t kSecondsFrom1601To1980 = 11960006400;  // 1980-01-01 00:00:00
constexpr uint64_t kSecondsFrom1601To2108 = 15999292800;  // 2108-01-01 00:00:00

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t lineEnd = input.find('\n');
    std::istringstream fields(input.substr(0, lineEnd));
    uint32_t external = 0, dosTime = 0, method = 0;
    fields >> std::hex >> external >> dosTime >> method;
    const std::string name = lineEnd == std::string::npos ? std::string() : input.substr(lineEnd + 1);

    const uint32_t attributes = AttributesFromExternal(external);
    if (!(attributes & 0x80) || (attributes & ~0xB7u)) __builtin_trap();
    if (const auto ticks = DecodeDosDateTime(dosTime)) {
        if (*ticks % kTicksPerSecond != 0 || *ticks < kSecondsFrom1601To1980 * kTicksPerSecond ||
            *ticks >= kSecondsFrom1601To2108 * kTicksPerSecond)
            __builtin_trap();
    }
    const size_t copied = ::strnlen(name.c_str(), 260);
    if (CheckCentralRecord(method, static_cast<uint32_t>(name.size()), copied) == kZipOk) {
        if (name.size() >= 260 || name.find('\0') != std::string::npos) __builtin_trap();
        (void)IsContainedRelativePath(name);
    }
    return 0;
}
