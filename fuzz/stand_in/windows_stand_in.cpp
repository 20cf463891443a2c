#include "windows.h"

#include "utf8.h"

#include <string>

int MultiByteToWideChar(UINT codePage, DWORD flags, const char* bytes, int size, wchar_t* out,
                        int capacity) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes);
    const size_t length = size < 0 ? 0 : static_cast<size_t>(size);
    std::wstring text;
    for (size_t at = 0; at < length;) {
        const Utf8Char c = codePage == CP_UTF8 ? DecodeUtf8(data, length, at) : Utf8Char{data[at], 1};
        if (c.length == 0) {
            if (flags & MB_ERR_INVALID_CHARS) return 0;
            text += static_cast<wchar_t>(0xFFFD);
            ++at;
            continue;
        }
        text += static_cast<wchar_t>(c.value);
        at += c.length;
    }
    const int count = static_cast<int>(text.size());
    if (!out) return count;
    if (capacity < count) return 0;
    text.copy(out, text.size());
    return count;
}
