// CSkinZipReader: one open skin archive, read through minizip. Gives member records and
// writes members to files, or creates the folder of a folder member.
#pragma once

#include "base/unique_resource.h"
#include "files/archive_in_memory.h"
#include "files/unpacked_files.h"
#include "files/zip_entry.h"
#include "files/zip_result.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kv::policy {
struct UnzFile {  // minizip's unzFile
    using Handle = void*;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept;
};
}  // namespace kv::policy

class CSkinZipReader {
public:
    CSkinZipReader() = default;
    CSkinZipReader(const CSkinZipReader&) = delete;
    CSkinZipReader& operator=(const CSkinZipReader&) = delete;

    // Opens the archive for reading (other readers allowed) and reads its central directory.
    // kZipCannotOpen when the file cannot be opened, kZipBadArchive when it is no archive.
    ZipResult Open(const std::string& path);
    // The record of member `index`; index -1 gives the member count in `index`.
    ZipResult GetEntry(int32_t index, ZipEntry& entry);
    // Writes member `index` to `outputPath`, whose folders exist, replacing any file there;
    // a folder member (one known by its attribute alone) becomes the folder `outputPath`.
    // With `written`, the member's bytes (those of a file up to the copy limit) and the
    // file's identity are handed back too.
    ZipResult ExtractEntry(int32_t index, const std::string& outputPath, kv::WrittenFile* written = nullptr);
    ZipResult Close();

private:
    ZipResult MoveTo(int32_t index);
    ZipResult ReadCurrentEntry(int32_t index, ZipEntry& entry);
    // With `copy`, the bytes written are gathered there too, up to its limit.
    ZipResult CopyCurrentMember(HANDLE file, kv::WrittenFile* copy);

    // The bytes minizip reads, when the archive is small enough to be held: declared before
    // the archive so that they outlive it.
    std::unique_ptr<kv::ArchiveInMemory> memory_;
    kv::UniqueResource<kv::policy::UnzFile> archive_;
    int32_t count_ = 0;
    int32_t position_ = -1;  // the member minizip stands on; -1 when unknown
    ZipEntry cached_;
    int32_t cachedIndex_ = -1;
};
