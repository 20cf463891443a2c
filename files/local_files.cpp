#include "files/local_files.h"

#include "base/unique_resource.h"
#include "base/ansi_chars.h"

#include <windows.h>

std::string GetTempFolder() {
    char buffer[MAX_PATH] = {};
    const DWORD length = ::GetTempPathA(MAX_PATH, buffer);
    // A length of MAX_PATH or more is the size the system would need: nothing was written.
    if (length == 0 || length >= MAX_PATH) return {};
    return std::string(buffer, length);
}

bool CreateFolderTree(std::string path, bool isFilePath) {
    if (isFilePath) path.resize(path.size() - GetFileNamePart(path).size());
    if (path.empty()) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    // Making the folder current doubles as the existence test; the move is wanted, since the
    // folder chooser and programs started later open in the current folder.
    if (::SetCurrentDirectoryA(path.c_str())) return true;
    if (!kv::EndsWithBackslash(path)) path += '\\';
    for (const size_t offset : kv::SeparatorOffsets(path, false)) {
        // Drive roots, server and share prefixes and existing folders fail here; that is fine.
        ::CreateDirectoryA(path.substr(0, offset + 1).c_str(), nullptr);
    }
    return true;
}

std::string GetFileNamePart(std::string path) {
    // Drive letter first, then everything after the last separator of either style, as
    // _splitpath would give it for file name plus extension. Unlike _splitpath into fixed
    // buffers, a long name is returned whole, so that callers can cut it off the path.
    size_t start = 0;
    if (path.size() >= 2 && kv::NextCharOffset(path, 0) == 1 && path[1] == ':') start = 2;
    for (const size_t offset : kv::SeparatorOffsets(path, true)) {
        if (offset >= start) start = offset + 1;
    }
    return path.substr(start);
}

bool FileExists(std::string path) {
    WIN32_FIND_DATAA data;
    const kv::unique_hfind search(::FindFirstFileA(path.c_str(), &data));
    return search.valid();
}

void ClearReadOnly(std::string path) {
    if (!FileExists(path)) return;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return;
    DWORD cleared = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    if (cleared == 0) cleared = FILE_ATTRIBUTE_NORMAL;
    ::SetFileAttributesA(path.c_str(), cleared);
}
