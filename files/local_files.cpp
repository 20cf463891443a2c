#include "files/local_files.h"

#include "base/ansi_chars.h"
#include "base/local_file.h"

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

void ClearReadOnly(std::string path) {
    const std::optional<uint32_t> found = kv::FileAttributesOf(path);
    if (!found || !(*found & FILE_ATTRIBUTE_READONLY)) return;
    const DWORD attributes = *found;
    DWORD cleared = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    if (cleared == 0) cleared = FILE_ATTRIBUTE_NORMAL;
    ::SetFileAttributesA(path.c_str(), cleared);
}

std::string MakeSkinPath(std::string& basePath, const std::string& name) {
    if (basePath.empty()) {
        basePath = MakeBasePath(GetTempFolder(), kOwnBaseFolderName);
        if (basePath.empty()) return {};
        CreateFolderTree(basePath, false);
    }
    return JoinPath(basePath, name);
}
