#include "files/skin_zip_reader.h"

#include "files/zip_entry_rules.h"
#include "files/zip_entry_time.h"

// unzip.h brings zlib's OF() macro, which iowin32.h uses without including it.
#include <unzip.h>
#include <iowin32.h>

#include <winternl.h>

#include <cstring>
#include <optional>
#include <vector>

void kv::policy::UnzFile::close(Handle h) noexcept { ::unzClose(h); }

namespace {

// The file's index on its volume, which names it there whatever name it was opened by. Asked
// of the handle alone: GetFileInformationByHandle also fetches the volume's details, which
// under Wine took 0.6 ms a file, more than writing it.
std::optional<uint64_t> FileIndexOf(HANDLE file) {
    using QueryFile = LONG(NTAPI*)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, FILE_INFORMATION_CLASS);
    static const auto query = reinterpret_cast<QueryFile>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile")));
    FILE_INTERNAL_INFORMATION information{};
    IO_STATUS_BLOCK status{};
    if (!query || query(file, &status, &information, sizeof information, FileInternalInformation) < 0)
        return std::nullopt;
    return static_cast<uint64_t>(information.IndexNumber.QuadPart);
}

constexpr unsigned kPieceSize = 16384;
// Archives up to this size are read whole into memory; larger ones are read from the file.
constexpr uint64_t kInMemoryLimit = 64ull << 20;

// Opens through minizip's Win32 file functions (narrow path, read access, other readers
// allowed, the file must exist) and notes in the opaque flag whether the file opened, which
// tells a missing file from one that is no archive when unzOpen2_64 fails.
voidpf ZCALLBACK OpenAndNote(voidpf opaque, const void* filename, int mode) {
    zlib_filefunc64_def win32;
    fill_win32_filefunc64A(&win32);
    voidpf stream = win32.zopen64_file(nullptr, filename, mode);
    *static_cast<bool*>(opaque) = stream != nullptr;
    return stream;
}

// The member minizip has open for reading; closing it never fails the caller, since the
// CRC-32 that unzCloseCurrentFile checks is deliberately not verified.
class OpenMember {
public:
    explicit OpenMember(unzFile archive) : archive_(archive), open_(::unzOpenCurrentFile(archive) == UNZ_OK) {}
    OpenMember(const OpenMember&) = delete;
    OpenMember& operator=(const OpenMember&) = delete;
    ~OpenMember() {
        if (open_) ::unzCloseCurrentFile(archive_);
    }
    bool open() const { return open_; }

private:
    unzFile archive_;
    bool open_;
};

}  // namespace

ZipResult CSkinZipReader::Open(const std::string& path) {
    Close();
    bool fileOpened = false;
    zlib_filefunc64_def functions;
    auto memory = std::make_unique<kv::ArchiveInMemory>();
    if (memory->Load(path, kInMemoryLimit)) {
        memory->FillFunctions(functions);
        fileOpened = true;
        memory_ = std::move(memory);
    } else {
        fill_win32_filefunc64A(&functions);
        functions.zopen64_file = OpenAndNote;
        functions.opaque = &fileOpened;
    }
    archive_.reset(::unzOpen2_64(path.c_str(), &functions));
    if (!archive_) {
        memory_.reset();
        return fileOpened ? kZipBadArchive : kZipCannotOpen;
    }
    // minizip keeps a copy of `functions`; from here on only the memory's functions or the
    // Win32 ones, which ignore the opaque pointer, are called with it.
    unz_global_info64 global = {};
    if (::unzGetGlobalInfo64(archive_.get(), &global) != UNZ_OK || global.number_entry > INT32_MAX) {
        archive_.reset();
        memory_.reset();
        return kZipBadArchive;
    }
    count_ = static_cast<int32_t>(global.number_entry);
    position_ = 0;
    cachedIndex_ = -1;
    return kZipOk;
}

ZipResult CSkinZipReader::Close() {
    if (!archive_) return kZipBadArgument;
    archive_.reset();
    memory_.reset();
    count_ = 0;
    position_ = -1;
    cachedIndex_ = -1;
    return kZipOk;
}

ZipResult CSkinZipReader::MoveTo(int32_t index) {
    if (position_ < 0 || index < position_) {
        if (::unzGoToFirstFile(archive_.get()) != UNZ_OK) {
            position_ = -1;
            return kZipBadArchive;
        }
        position_ = 0;
    }
    while (position_ < index) {
        if (::unzGoToNextFile(archive_.get()) != UNZ_OK) {
            position_ = -1;
            return kZipBadArchive;
        }
        ++position_;
    }
    return kZipOk;
}

ZipResult CSkinZipReader::GetEntry(int32_t index, ZipEntry& entry) {
    if (!archive_ || index < -1 || index >= count_) return kZipBadArgument;
    if (index == -1) {
        entry = ZipEntry{};
        entry.index = count_;
        return kZipOk;
    }
    if (index == cachedIndex_) {
        entry = cached_;
        return kZipOk;
    }
    if (const ZipResult result = MoveTo(index)) return result;
    ZipEntry fresh;
    if (const ZipResult result = ReadCurrentEntry(index, fresh)) return result;
    cached_ = fresh;
    cachedIndex_ = index;
    entry = fresh;
    return kZipOk;
}

ZipResult CSkinZipReader::ReadCurrentEntry(int32_t index, ZipEntry& entry) {
    unz_file_info64 info = {};
    char name[MAX_PATH] = {};
    if (::unzGetCurrentFileInfo64(archive_.get(), &info, name, sizeof name, nullptr, 0, nullptr, 0) !=
        UNZ_OK)
        return kZipBadArchive;
    // A long name is copied cut and without terminator; strnlen sees both that and a NUL
    // inside the stored name, either of which would make the record name another file.
    if (const ZipResult result = CheckCentralRecord(static_cast<uint32_t>(info.compression_method),
                                                    static_cast<uint32_t>(info.size_filename),
                                                    ::strnlen(name, sizeof name)))
        return result;

    // Opening the member makes minizip read its local header and compare it with the central
    // directory: signature, method, name length, and CRC-32 and sizes unless a data
    // descriptor follows the data.
    const OpenMember member(archive_.get());
    if (!member.open()) return kZipBadArchive;
    const int extraSize = ::unzGetLocalExtrafield(archive_.get(), nullptr, 0);
    if (extraSize < 0) return kZipBadExtraField;
    if (extraSize > 0) {
        std::vector<char> extra(static_cast<size_t>(extraSize));
        if (::unzGetLocalExtrafield(archive_.get(), extra.data(), static_cast<unsigned>(extraSize)) !=
            extraSize)
            return kZipBadExtraField;
    }

    entry = ZipEntry{};
    entry.index = index;
    std::memcpy(entry.name, name, sizeof name);
    entry.attributes = AttributesFromExternal(static_cast<uint32_t>(info.external_fa));
    const FILETIME stored = StoredTimeToUtc(static_cast<uint32_t>(info.dosDate));
    entry.accessTime = entry.creationTime = entry.modificationTime = stored;
    entry.compressedSize = static_cast<int32_t>(info.compressed_size);
    entry.uncompressedSize = static_cast<int32_t>(info.uncompressed_size);
    return kZipOk;
}

ZipResult CSkinZipReader::ExtractEntry(int32_t index, const std::string& outputPath, kv::WrittenFile* written) {
    if (!archive_ || index < 0 || index >= count_) return kZipBadArgument;
    if (const ZipResult result = MoveTo(index)) return result;
    ZipEntry entry;
    if (const ZipResult result = GetEntry(index, entry)) return result;
    if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
        // At the path the caller formed below its destination, like any other member, and
        // never by the member's own name below whatever folder happens to be current.
        if (::CreateDirectoryA(outputPath.c_str(), nullptr)) return kZipOk;
        const DWORD existing = ::GetFileAttributesA(outputPath.c_str());
        const bool folder = existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY);
        return folder ? kZipOk : kZipCannotOpen;
    }

    kv::unique_hfile file(::CreateFileA(outputPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        entry.attributes, nullptr));
    if (!file) return kZipCannotOpen;
    if (written) *written = kv::WrittenFile{};
    if (const ZipResult result = CopyCurrentMember(file.get(), written)) return result;
    if (written) {
        if (const std::optional<uint64_t> fileIndex = FileIndexOf(file.get())) {
            written->index = *fileIndex;
            written->identified = true;
        }
    }
    const bool stampable = entry.modificationTime.dwLowDateTime || entry.modificationTime.dwHighDateTime;
    if (stampable && ::GetFileType(file.get()) == FILE_TYPE_DISK)
        ::SetFileTime(file.get(), &entry.creationTime, &entry.accessTime, &entry.modificationTime);
    return kZipOk;
}

ZipResult CSkinZipReader::CopyCurrentMember(HANDLE file, kv::WrittenFile* copy) {
    const OpenMember member(archive_.get());
    if (!member.open()) return kZipReadWriteFailed;
    std::vector<char> piece(kPieceSize);
    for (;;) {
        const int read = ::unzReadCurrentFile(archive_.get(), piece.data(), kPieceSize);
        if (read < 0) return kZipReadWriteFailed;
        if (read == 0) {
            if (copy) copy->whole = true;
            return kZipOk;
        }
        DWORD written = 0;
        if (!::WriteFile(file, piece.data(), static_cast<DWORD>(read), &written, nullptr) ||
            written != static_cast<DWORD>(read))
            return kZipReadWriteFailed;
        if (!copy) continue;
        if (copy->bytes.size() + static_cast<size_t>(read) > kv::WrittenFile::kCopyLimit) {
            copy->bytes = {};
            copy = nullptr;
            continue;
        }
        copy->bytes.insert(copy->bytes.end(), piece.data(), piece.data() + read);
    }
}
