// Stand-in for the few names of <windows.h> that parsers' own files use, for the native fuzz
// build: the integer types, and MultiByteToWideChar for UTF-8 and the ANSI code page.
#pragma once

#include <cstdint>

using DWORD = uint32_t;
using UINT = unsigned int;

constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x08;

// UTF-8 is decoded strictly (no overlong forms, surrogates or values past U+10FFFF; with
// MB_ERR_INVALID_CHARS such input gives 0, without it U+FFFD); the ANSI code page takes each
// byte as the character of the same number. Counts wide characters as the real one does, but
// one wchar_t is a whole code point here.
int MultiByteToWideChar(UINT codePage, DWORD flags, const char* bytes, int size, wchar_t* out,
                        int capacity);
