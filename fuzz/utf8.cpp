#include "utf8.h"

Utf8Char DecodeUtf8(const unsigned char* bytes, size_t size, size_t at) {
    const unsigned char lead = bytes[at];
    if (lead < 0x80) return {lead, 1};
    size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return {};
    }
    if (at + length > size) return {};
    for (size_t k = 1; k < length; ++k) {
        if ((bytes[at + k] & 0xC0) != 0x80) return {};
        value = (value << 6) | (bytes[at + k] & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return {};
    return {value, length};
}

std::wstring WideFromFuzzInput(const unsigned char* bytes, size_t size) {
    std::wstring text;
    for (size_t at = 0; at < size;) {
        const Utf8Char c = DecodeUtf8(bytes, size, at);
        text += static_cast<wchar_t>(c.length ? c.value : bytes[at]);
        at += c.length ? c.length : 1;
    }
    return text;
}
