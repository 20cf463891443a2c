#include "files/skin_archive.h"

#include "base/ansi_chars.h"
#include "files/local_files.h"
#include "files/path_rules.h"
#include "files/skin_zip_reader.h"

#include <windows.h>

#include <utility>

namespace {

// True when the folder part of `filePath` is the current folder: it exists then, and making
// it current once more would only repeat the system calls (the members of one folder follow
// each other in an archive).
bool IsCurrentFolderOf(const std::string& filePath) {
    std::string folder = filePath.substr(0, filePath.size() - GetFileNamePart(filePath).size());
    if (kv::EndsWithBackslash(folder)) folder.pop_back();
    char current[MAX_PATH] = {};
    const DWORD length = ::GetCurrentDirectoryA(MAX_PATH, current);
    return length > 0 && length < MAX_PATH && folder == std::string(current, length);
}

bool Extract(std::string archivePath, std::string destFolder, const FileWrittenCallback& onFileWritten,
             kv::UnpackedFiles* keep) {
    if (destFolder.empty()) return false;
    if (!kv::EndsWithBackslash(destFolder)) destFolder += '\\';

    CSkinZipReader reader;
    if (reader.Open(archivePath) != kZipOk) return false;
    ZipEntry entry;
    if (reader.GetEntry(-1, entry) != kZipOk) return false;
    const int32_t count = entry.index;
    bool wroteFile = false;
    for (int32_t i = 0; i < count; ++i) {
        // A member whose record is unusable, or whose name would lead out of the destination
        // folder (or to a device or stream), stops the extraction: the archive is broken or
        // hostile, and what it holds beyond that point is not trusted either.
        if (reader.GetEntry(i, entry) != kZipOk || !IsContainedRelativePath(entry.name)) {
            reader.Close();
            return false;
        }
        std::string memberPath = destFolder + entry.name;
        for (char& c : memberPath) {
            if (c == '/') c = '\\';
        }
        if (!IsCurrentFolderOf(memberPath)) CreateFolderTree(memberPath, true);
        if (kv::EndsWithBackslash(memberPath)) continue;
        // A read-only file left by an earlier extraction refuses to be replaced: only then is
        // its attribute cleared, and the member written once more.
        kv::WrittenFile written;
        kv::WrittenFile* const copy = keep ? &written : nullptr;
        ZipResult extracted = reader.ExtractEntry(i, memberPath, copy);
        if (extracted == kZipCannotOpen) {
            ClearReadOnly(memberPath);
            extracted = reader.ExtractEntry(i, memberPath, copy);
        }
        if (extracted != kZipOk) {
            // Whatever the failed member left on disk, and under which name, is unknown.
            if (keep) keep->Keep(memberPath, kv::WrittenFile{});
            reader.Close();
            return false;
        }
        // Neither the member's attributes nor those of a file it replaced (where the system
        // let it) leave it read-only, so that the next extraction can replace it.
        ClearReadOnly(memberPath);
        // A folder member stored without its trailing separator is created by ExtractEntry
        // too, but it is no file: an archive of folders alone yields false.
        if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        wroteFile = true;
        if (onFileWritten) onFileWritten(memberPath);
        if (keep) keep->Keep(memberPath, std::move(written));
    }
    reader.Close();
    return wroteFile;
}

}  // namespace

bool ExtractSkinArchive(std::string archivePath, std::string destFolder) {
    return Extract(std::move(archivePath), std::move(destFolder), nullptr, nullptr);
}

bool ExtractSkinArchive(std::string archivePath, std::string destFolder,
                        const FileWrittenCallback& onFileWritten) {
    return Extract(std::move(archivePath), std::move(destFolder), onFileWritten, nullptr);
}

bool ExtractSkinArchive(std::string archivePath, std::string destFolder, kv::UnpackedFiles& written) {
    return Extract(std::move(archivePath), std::move(destFolder), nullptr, &written);
}
