#include "files/archive_in_memory.h"

#include "base/local_file.h"

#include <ioapi.h>
#include <windows.h>

#include <algorithm>
#include <cstring>

namespace kv {
namespace {

ArchiveInMemory& Archive(voidpf opaque) { return *static_cast<ArchiveInMemory*>(opaque); }

// The stream minizip passes back is the archive itself.
voidpf ZCALLBACK OpenArchive(voidpf opaque, const void*, int mode) {
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
    Archive(opaque).position = 0;
    return opaque;
}

uLong ZCALLBACK ReadArchive(voidpf opaque, voidpf, void* buffer, uLong size) {
    ArchiveInMemory& archive = Archive(opaque);
    const uint64_t total = archive.bytes().size();
    const uint64_t start = std::min(archive.position, total);
    const auto count = static_cast<uLong>(std::min<uint64_t>(size, total - start));
    if (count > 0) std::memcpy(buffer, archive.bytes().data() + start, count);
    archive.position = start + count;
    return count;
}

uLong ZCALLBACK WriteNothing(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK TellArchive(voidpf opaque, voidpf) { return Archive(opaque).position; }

long ZCALLBACK SeekArchive(voidpf opaque, voidpf, ZPOS64_T offset, int origin) {
    ArchiveInMemory& archive = Archive(opaque);
    const uint64_t total = archive.bytes().size();
    uint64_t base = 0;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = archive.position; break;
    case ZLIB_FILEFUNC_SEEK_END: base = total; break;
    default: return -1;
    }
    if (offset > total || base > total - offset) return -1;
    archive.position = base + offset;
    return 0;
}

int ZCALLBACK CloseArchive(voidpf, voidpf) { return 0; }

int ZCALLBACK NoError(voidpf, voidpf) { return 0; }

}  // namespace

bool ArchiveInMemory::Load(const std::string& path, uint64_t limit) {
    position = 0;
    return ReadWholeFile(path, limit, bytes_);
}

void ArchiveInMemory::FillFunctions(zlib_filefunc64_def& functions) {
    functions.zopen64_file = OpenArchive;
    functions.zread_file = ReadArchive;
    functions.zwrite_file = WriteNothing;
    functions.ztell64_file = TellArchive;
    functions.zseek64_file = SeekArchive;
    functions.zclose_file = CloseArchive;
    functions.zerror_file = NoError;
    functions.opaque = this;
}

}  // namespace kv
