// The record that describes one member of a skin archive.
#pragma once

#include <windows.h>

#include <cstdint>

struct ZipEntry {
    // Position in the central directory from 0; the member count in the answer for index -1.
    int32_t index = 0;
    // The stored name, bytes of the ANSI code page, NUL-terminated; at most 259 bytes.
    char name[MAX_PATH] = {};
    uint32_t attributes = 0;  // FILE_ATTRIBUTE_* bits
    // UTC; all three hold the stored modification time, or zero when that is no valid date.
    FILETIME accessTime = {};
    FILETIME creationTime = {};
    FILETIME modificationTime = {};
    int32_t compressedSize = 0;
    int32_t uncompressedSize = 0;
};
