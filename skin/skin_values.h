// The value grammar of a skin's Config.ini: comma-separated fields that give colours,
// rectangles and points. Plain strings only, so that it builds without Windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

// Colour: red + 256*green + 65536*blue (a COLORREF value).
struct SkinRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};
struct SkinPoint {
    int32_t x = 0, y = 0;
};

// Replaces `fields` with the fields of `text` cut at `delimiter` and returns their number.
// The search steps over double-byte characters whole, so a trail byte is never taken for the
// delimiter. "1,,3" gives three fields, "1,2," two, "" none and "," one empty field.
int SplitString(const std::string& text, char delimiter, std::vector<std::string>& fields);

// atoi: leading blanks, an optional sign, digits up to the first non-digit; no digits is 0.
// Values beyond 32 bits saturate.
int32_t FieldToInt(const std::string& field);

// 32-bit two's complement sum: a skin's x + width wraps the way the 32-bit arithmetic of
// the window positions does, instead of overflowing.
int32_t WrappingAdd(int32_t a, int32_t b);

// Each returns false (the caller's invalid-argument failure) when the value has too few
// fields; fields beyond the required number are ignored. ParseColor leaves `color` untouched
// on failure. ParseRect and ParsePoint set their members field by field and stop at the
// first field that is missing, so a short value leaves the members before it set.
[[nodiscard]] bool ParseColor(const std::string& value, uint32_t& color);
[[nodiscard]] bool ParseRect(const std::string& value, SkinRect& rect);
[[nodiscard]] bool ParsePoint(const std::string& value, SkinPoint& point);

}  // namespace kv
