// Strict UTF-8 decoding for the fuzz build: the stand-in of MultiByteToWideChar and the
// targets that read their input as wide text use it.
#pragma once

#include <cstddef>
#include <string>

struct Utf8Char {
    char32_t value = 0;
    size_t length = 0;  // 0: no valid sequence starts here
};

// The character starting at bytes[at]: no overlong forms, surrogates or values past U+10FFFF.
Utf8Char DecodeUtf8(const unsigned char* bytes, size_t size, size_t at);

// Fuzz input as wide text: UTF-8 where it is valid, so that seeds stay readable text, and
// every other byte standing for the character of its own number.
std::wstring WideFromFuzzInput(const unsigned char* bytes, size_t size);
