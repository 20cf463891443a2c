#include "files/skin_archive.h"

#include "base/ansi_chars.h"
#include "files/local_files.h"
#include "files/skin_zip_reader.h"

#include <windows.h>

#include <utility>

bool ExtractSkinArchive(std::string archivePath, std::string destFolder) {
    return ExtractSkinArchive(std::move(archivePath), std::move(destFolder), nullptr);
}

bool ExtractSkinArchive(std::string archivePath, std::string destFolder,
                        const FileWrittenCallback& onFileWritten) {
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
        ClearReadOnly(memberPath);
        CreateFolderTree(memberPath, true);
        if (kv::EndsWithBackslash(memberPath)) continue;
        if (reader.ExtractEntry(i, memberPath) != kZipOk) {
            reader.Close();
            return false;
        }
        ClearReadOnly(memberPath);
        // A folder member stored without its trailing separator is created by ExtractEntry
        // too, but it is no file: an archive of folders alone yields false.
        if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        wroteFile = true;
        if (onFileWritten) onFileWritten(memberPath);
    }
    reader.Close();
    return wroteFile;
}
