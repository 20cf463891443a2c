// Fuzz target: a Config.ini value as any skin may hold it, through the field split and the
// colour, rectangle and point parsers. The fields put back together with their commas give
// the value again (less a comma at its very end), and a parser accepts exactly the values
// with enough fields.
#include "skin/skin_values.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string value(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> fields;
    const int count = kv::SplitString(value, ',', fields);
    if (count != static_cast<int>(fields.size())) __builtin_trap();
    std::string joined;
    for (size_t k = 0; k < fields.size(); ++k) joined += (k ? "," : "") + fields[k];
    if (joined != value && joined + "," != value) __builtin_trap();

    uint32_t color = 0;
    if (kv::ParseColor(value, color) != (count >= 3)) __builtin_trap();
    if (color > 0xFFFFFF) __builtin_trap();
    kv::SkinRect rect;
    if (kv::ParseRect(value, rect) != (count >= 4)) __builtin_trap();
    kv::SkinPoint point;
    if (kv::ParsePoint(value, point) != (count >= 2)) __builtin_trap();
    return 0;
}
