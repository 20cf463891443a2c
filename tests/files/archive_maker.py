"""Makes the skin archives the files/ tests extract: real archives written by Python's
zipfile and Info-ZIP zip, and the few broken or hostile ones made by changing fields of a
zipfile archive afterwards (names as raw code page 949 bytes, methods, CRCs, headers that
disagree, damaged data)."""
import os
import shutil
import struct
import subprocess
import tempfile
import zipfile
import zlib

STAMP = (2021, 3, 4, 5, 6, 8)  # local time; 2021-03-03 20:06:08 UTC in Seoul

UNIX_FILE = 0o100644 << 16
UNIX_READ_ONLY = 0o100444 << 16
UNIX_DIR = 0o40755 << 16

# Local header: signature, version, flags, method, time, date, crc, sizes, name and extra
# lengths. Central entry: the same fields after "version made by", then comment length,
# disk, internal and external attributes and the local header's offset.
LOCAL = struct.Struct("<IHHHHHIIIHH")
CENTRAL = struct.Struct("<IHHHHHHIIIHHHHHII")
EOCD = struct.Struct("<IHHHHIIH")


def info(name, external=UNIX_FILE, date_time=STAMP, method=zipfile.ZIP_DEFLATED):
    zi = zipfile.ZipInfo(name, date_time=date_time)
    zi.external_attr = external
    zi.compress_type = method
    zi.create_system = 3 if external >> 16 else 0
    return zi


def write_zip(path, members):
    """members: (ZipInfo or name, bytes) pairs; a name ending in / is a folder member."""
    with zipfile.ZipFile(path, "w") as zf:
        for member, data in members:
            zf.writestr(member if isinstance(member, zipfile.ZipInfo) else info(member), data)
    return path


class Entry:
    def __init__(self, central, local, name):
        self.central, self.local, self.name = central, local, name


def entries(data):
    """The members of an archive as (central offset, local offset, name)."""
    end = data.rindex(b"PK\x05\x06")
    _, _, _, _, count, _, offset, _ = EOCD.unpack_from(data, end)
    found = []
    for _ in range(count):
        fields = CENTRAL.unpack_from(data, offset)
        name_len, extra_len, comment_len, local = fields[10], fields[11], fields[12], fields[16]
        name = bytes(data[offset + CENTRAL.size:offset + CENTRAL.size + name_len])
        found.append(Entry(offset, local, name))
        offset += CENTRAL.size + name_len + extra_len + comment_len
    return found


# Field positions, counted in bytes from the start of each header.
LOCAL_FIELDS = {"flags": 6, "method": 8, "crc": 14, "compressed": 18, "size": 22, "extra_len": 28}
CENTRAL_FIELDS = {"flags": 8, "method": 10, "crc": 16, "compressed": 20, "size": 24, "external": 38}
WIDTH = {"flags": "H", "method": "H", "crc": "I", "compressed": "I", "size": "I",
         "extra_len": "H", "external": "I"}


def patch(path, name, where="both", **fields):
    """Sets header fields of member `name` (bytes) in the local header, the central entry or
    both, e.g. patch(p, b"a.txt", crc=0, method=12)."""
    with open(path, "rb") as f:
        data = bytearray(f.read())
    entry = next(e for e in entries(data) if e.name == name)
    for field, value in fields.items():
        if where in ("both", "local") and field in LOCAL_FIELDS:
            struct.pack_into("<" + WIDTH[field], data, entry.local + LOCAL_FIELDS[field], value)
        if where in ("both", "central") and field in CENTRAL_FIELDS:
            struct.pack_into("<" + WIDTH[field], data, entry.central + CENTRAL_FIELDS[field], value)
    with open(path, "wb") as f:
        f.write(data)


def rename(path, placeholder, raw_name):
    """Gives a member a raw byte name of the same length (code page 949, a NUL...), which
    zipfile itself would write as UTF-8 or cut."""
    assert len(placeholder) == len(raw_name)
    with open(path, "rb") as f:
        data = bytearray(f.read())
    entry = next(e for e in entries(data) if e.name == placeholder)
    data[entry.local + LOCAL.size:entry.local + LOCAL.size + len(raw_name)] = raw_name
    data[entry.central + CENTRAL.size:entry.central + CENTRAL.size + len(raw_name)] = raw_name
    with open(path, "wb") as f:
        f.write(data)


def damaged_second_member(path, first, second_good, third):
    """Three deflated members; the second inflates `second_good` and then meets an invalid
    block, so that extraction fails after writing part of it (when `second_good` is longer
    than one 16 KB piece)."""
    compressor = zlib.compressobj(6, zlib.DEFLATED, -15)
    # The full flush ends on a byte boundary, where the next block header starts; 0xFF there
    # is a final block of the reserved type 3, an inflate error.
    raw = compressor.compress(second_good) + compressor.flush(zlib.Z_FULL_FLUSH) + b"\xff" * 17
    write_zip(path, [(info("first.txt"), first),
                     (info("second.txt", method=zipfile.ZIP_STORED), raw),
                     (info("third.txt"), third)])
    patch(path, b"second.txt", method=8, size=len(second_good) + 700,
          crc=zlib.crc32(second_good))
    return path


def info_zip(path, tree, options=(), mtime=None):
    """An archive written by Info-ZIP zip from a folder tree {relative path: bytes or None
    for a folder, or (bytes, mode)}, every file modified at `mtime` (seconds since 1970);
    run inside a scratch folder so that names are relative."""
    scratch = tempfile.mkdtemp(prefix="kv-zip-")
    try:
        for rel, content in tree.items():
            full = os.path.join(scratch, rel)
            if content is None:
                os.makedirs(full, exist_ok=True)
                continue
            os.makedirs(os.path.dirname(full) or scratch, exist_ok=True)
            data, mode = content if isinstance(content, tuple) else (content, 0o644)
            with open(full, "wb") as f:
                f.write(data)
            if mtime is not None:
                os.utime(full, (mtime, mtime))
            os.chmod(full, mode)
        names = sorted(tree)
        subprocess.run(["zip", "-q", *options, os.path.abspath(path), *names], cwd=scratch,
                       check=True)
    finally:
        for root, dirs, files in os.walk(scratch):
            for n in dirs + files:
                os.chmod(os.path.join(root, n), 0o755)
        shutil.rmtree(scratch)
    return path
